// Anchor source of kqmfc.dll; its code comes from the subsystem object libraries.
