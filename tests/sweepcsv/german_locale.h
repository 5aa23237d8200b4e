// Switches the C library to a German locale, as QApplication does for a
// German user (setlocale(LC_ALL, "")): "de_DE.UTF-8", generated with
// localedef into a folder of its own where the system has none.
#pragma once

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <string>

namespace travenel {

// True when the locale is in use; else `why` says what is missing.
inline bool UseGermanLocale(std::string& why) {
  static std::string folder;
  if (std::setlocale(LC_ALL, "de_DE.UTF-8")) return true;
  if (folder.empty()) {
    char pattern[] = "/tmp/travenel-locale-XXXXXX";
    if (!mkdtemp(pattern)) {
      why = "no folder for the generated locale";
      return false;
    }
    folder = pattern;
    const std::string command =
        "localedef -i de_DE -f UTF-8 " + folder + "/de_DE.UTF-8 >/dev/null 2>&1";
    // localedef may end with a warning status and still have written it.
    [[maybe_unused]] const int status = std::system(command.c_str());
    if (access((folder + "/de_DE.UTF-8/LC_NUMERIC").c_str(), R_OK) != 0) {
      why = "localedef cannot generate de_DE.UTF-8 (no locale sources installed?)";
      return false;
    }
  }
  setenv("LOCPATH", folder.c_str(), 1);
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  if (!std::setlocale(LC_ALL, "")) {
    why = "setlocale refuses the generated de_DE.UTF-8";
    return false;
  }
  return true;
}

// Back to the "C" locale the tests otherwise run in.
inline void UseCLocale() {
  unsetenv("LC_ALL");
  std::setlocale(LC_ALL, "C");
}

}  // namespace travenel
