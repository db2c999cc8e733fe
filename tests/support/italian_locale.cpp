// An Italian C locale (decimal comma), made with localedef when missing.
#include "support/italian_locale.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace testing_support {

bool useItalianLocale() {
#ifdef _WIN32
    return std::setlocale(LC_ALL, "Italian_Italy.1252") != nullptr;
#else
    if (std::setlocale(LC_ALL, "it_IT.UTF-8"))
        return true;
    const auto folder = std::filesystem::temp_directory_path() / "meteo-test-locale";
    const std::string command = "localedef -i it_IT -f UTF-8 " + (folder / "it_IT.UTF-8").string() + " >/dev/null 2>&1";
    std::filesystem::create_directories(folder);
    if (!std::filesystem::exists(folder / "it_IT.UTF-8/LC_NUMERIC") && std::system(command.c_str()) != 0)
        return false;
    setenv("LOCPATH", folder.c_str(), 1);
    return std::setlocale(LC_ALL, "it_IT.UTF-8") != nullptr;
#endif
}

void restoreCLocale() { std::setlocale(LC_ALL, "C"); }

} // namespace testing_support
