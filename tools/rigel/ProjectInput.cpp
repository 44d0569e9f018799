#include "ProjectInput.h"

#include "Messages.h"
#include "SurveyInput.h"

#include "frame/FileTypes.h"
#include "frame/RigelExports.h"
#include "platform/base/AtomicFile.h"
#include "platform/host/CArchive.h"
#include "platform/host/CFile.h"

namespace rigel::cli {

int LoadProject(const std::string& path, TrackProject& project) {
    CFile file;
    if (!OpenReadable(path, file))
        return 1;
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
