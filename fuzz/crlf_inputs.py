#!/usr/bin/env python3
"""Writes the CR LF message files of the reader's saved corpus (corpus/message_reader/crlf-*.msg).

They are larger than the reader's 128 KiB chunk and longer than the fuzz runs' -max_len, so fuzzing never
makes them: each puts one place of a record at the end of the first chunk (a CR LF pair, an escape, the
closing quote, the digits of a number, the opening quote), and one holds a text longer than a chunk.
Run it from anywhere; it rewrites the files in place, the same bytes each time."""
import os
import random

CHUNK = 128 * 1024
HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "message_reader")
TEXTS = ["Disk full\\n", "tab\\there", "quote \\\"inside\\\"", "cr\\r", "two \\\\n", "odd \\q", "plain text"]


def record(rng, number):
    text = rng.choice(TEXTS) + "x" * rng.randrange(0, 60)
    lead = " " if rng.randrange(10) == 0 else ""
    return f'{lead}{number}\t"{text}"\r\n'


def filler(rng, size, first):
    """Clean CR LF records of exactly `size` bytes, numbered from `first`."""
    out, number = [], first
    while size - sum(map(len, out)) > 120:
        out.append(record(rng, number))
        number += 1
    rest = size - sum(map(len, out))
    head = f'{number}\t"'
    out.append(head + "f" * (rest - len(head) - 3) + '"\r\n')
    return "".join(out), number + 1


def edge_file(name, before, after, seed):
    """Filler, then `before` ending exactly at the end of the first chunk, then `after` and more records."""
    rng = random.Random(seed)
    head, number = filler(rng, CHUNK - len(before), 1)
    tail, _ = filler(rng, 2000, number + 1000)
    write(name, head + before + after + tail)


def write(name, text):
    data = text.encode("latin-1")
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


edge_file("crlf-edge-line-end.msg", '77\t"split line end"\r', '\n78\t"after"\r\n', 1)
edge_file("crlf-edge-escape.msg", '88\t"escaped \\', '" quote"\r\n', 2)
edge_file("crlf-edge-closing-quote.msg", '99\t"closed"', "\r\n", 3)
edge_file("crlf-edge-number.msg", "12", '345\t"number across"\r\n', 4)
edge_file("crlf-edge-opening-quote.msg", '55\t"', 'text"\r\n', 5)

rng = random.Random(6)
long_text = "".join(f"line {i} \\\"{i}\\\" \\t\r\n" for i in range(9000))
start, number = filler(rng, 3000, 1)
end, _ = filler(rng, 3000, number + 1)
write("crlf-long-text.msg", start + f'{number}\t"' + long_text + '"\r\n' + end)
