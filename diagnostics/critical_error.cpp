// Critical errors: the thread's collected text, completed with where and when, in a Yes/No box.
#include "kqdiagnostics.h"

#include <afxwin.h>

namespace {
const char fileLabel[] = "Fichier :\t";
const char lineLabel[] = "Ligne   :\t";
const char dateLabel[] = "Date    :\t";
const char question[] = "Voulez vous voir les prochains messages ?";
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
  const char* text = criticalErrorStream.str();
  const int answer = AfxMessageBox(text, MB_YESNO, 0);
  if (answer != IDYES)
    criticalErrorsHidden = 1;

  // The stream owns its array again and the next error is written from the start; it ends at its own NUL.
  criticalErrorStream.freeze(false);
  criticalErrorStream.seekp(0, std::ios::beg);
}
