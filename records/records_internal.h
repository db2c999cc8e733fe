#pragma once
// Pieces shared by the record files, not part of the records interface.

#include <optional>
#include <string>

#include "io/file_io.h"

namespace records::detail {

// The status-bar text for a failed write, nullopt for a good one.
inline std::optional<std::string> problemOf(const io::WriteResult &result, const std::string &fileName,
                                            const std::string &folder) {
    if (result.ok)
        return std::nullopt;
    return io::writeProblem(fileName, folder, result.reason);
}

// An empty folder must not turn into a path in the working directory.
inline std::optional<std::string> folderProblem(const std::string &fileName, const std::string &folder) {
    if (!folder.empty())
        return std::nullopt;
    return io::writeProblem(fileName, folder, "");
}

} // namespace records::detail
