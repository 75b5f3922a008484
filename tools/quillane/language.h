// The language of the program's messages, and of the props string it builds.
#pragma once

namespace quillane::cli {

// Chooses the language for the run, in this order: --lang among the arguments (when it names one of
// chs, en, cht), else QUILLANE_LANGUAGE, else the registry's Language value, else the locale's
// language (LC_ALL, LC_MESSAGES, LANG): zh_CN and other Chinese chs, zh_TW and zh_HK cht, any other
// language en, and the C or POSIX locale or none chs. The choice goes to QUILLANE_LANGUAGE, where the
// library reads it.
void ChooseLanguage(int argc, char** argv);

// chs, en or cht.
bool KnownLanguage(const char* name);

}  // namespace quillane::cli
