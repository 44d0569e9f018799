#include "ProjectInput.h"

#include "Messages.h"

#include "frame/FileTypes.h"
#include "frame/RigelExports.h"
#include "platform/base/AtomicFile.h"
#include "platform/host/CArchive.h"
#include "platform/host/CFile.h"

#include <filesystem>
#include <system_error>

namespace rigel::cli {

int LoadProject(const std::string& path, TrackProject& project) {
    std::error_code error;
    if (std::filesystem::exists(path, error) && !std::filesystem::is_regular_file(path, error)) {
        Complain("cannot read %s: not a regular file", path);
        return 1;
    }
    CFile file;
    CFileException openError;
    if (!file.Open(path.c_str(), CFile::modeRead, &openError)) {
        Complain("cannot read %s: %s", path, ErrnoText(openError.m_lOsError));
        return 1;
    }
    try {
        if (file.GetLength() == 0) {
            Complain("%s: the project file is empty", path);
            return 1;
        }
    } catch (const CFileException& e) {
        Complain("cannot read %s: %s", path, ErrnoText(e.m_lOsError));
        return 1;
    }
    // The reader takes the path and reads the file by name; the archive only carries it.
    CArchive archive(&file, CArchive::load);
    Serialize(&archive, &project, static_cast<int>(kSPW), 0, 0, 0);
    return 0;
}

} // namespace rigel::cli
