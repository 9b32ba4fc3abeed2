// Critical errors: the thread's collected text, completed with where and when, in a Yes/No box.
#include "kqdiagnostics.h"

#include <afxwin.h>

#include <new>

namespace {
const char fileLabel[] = "Fichier :\t";
const char lineLabel[] = "Ligne   :\t";
const char dateLabel[] = "Date    :\t";
const char question[] = "Voulez vous voir les prochains messages ?";

// Once a box has been shown (or could not be): the stream owns its array again, its error state is
// cleared, and the next error is written from the start; it ends at its own NUL.
struct Restart {
  std::strstream& stream;
  ~Restart() {
    stream.freeze(false);
    stream.clear();
    stream.seekp(0, std::ios::beg);
  }
};
} // namespace

void KQDebugInfo::displayCriticalError(const char* file, int line, const char* date) {
  if (criticalErrorsHidden != 0)
    return;

  std::ostream& out = criticalErrorStream;
  out << std::endl;
  out << fileLabel << file << std::endl;
  out << lineLabel << line << std::endl;
  out << dateLabel << date << std::endl;
  out << std::endl;
  out << question << std::endl;
  out << std::ends;

  // str() freezes the array so it stays in place while the box shows it.
  const Restart restart{criticalErrorStream};
  const char* text = criticalErrorStream.str();
  if (!out) {
    // A write failed (the array could not grow), so the NUL is missing: the last character stored
    // gives way to it.
    const std::streamsize stored = criticalErrorStream.pcount();
    if (stored > 0)
      criticalErrorStream.str()[stored - 1] = '\0';
    else
      text = "";
  }
  int answer = 0; // a box that cannot be shown, for want of memory too, silences like No
  try {
    answer = AfxMessageBox(text, MB_YESNO, 0);
  } catch (CException* e) {
    e->Delete();
  } catch (const std::bad_alloc&) {
  }
  if (answer != IDYES)
    criticalErrorsHidden = 1;
}
