// Loading and saving through the dispatcher.

#include "frame/Dispatcher.h"
#include "frame/ExportGuard.h"
#include "frame/LibraryState.h"
#include "frame/RigelExports.h"
#include "platform/base/Trace.h"
#include "platform/host/HostUi.h"

using rigel::GuardExport;

void Serialize(CArchive* archive, TrackProject* project, int type, unsigned char spwFlag,
               unsigned char askCodes, unsigned char railExports) {
    GuardExport("Serialize", [&] {
        rigel::State().CurrentProject = project;
        rigel::State().RailExportsEnabled = railExports != 0 ? 1 : 0;
        if (archive == nullptr)
            return;
        const unsigned fileType = static_cast<unsigned>(type);
        if (archive->IsLoading())
            rigel::Load({*archive, project, fileType, spwFlag != 0, askCodes != 0});
        else
            rigel::Save({archive, archive->GetFile(), project, fileType, spwFlag != 0,
                         railExports != 0, false});
    });
}

void MeridanSave(CFile* file, TrackProject* project, int type, unsigned char spwFlag,
                 unsigned char /*unused*/, unsigned char railExports) {
    GuardExport("MeridanSave", [&] {
        rigel::State().CurrentProject = project;
        rigel::Save({nullptr, file, project, static_cast<unsigned>(type), spwFlag != 0,
                     railExports != 0, true});
    });
}

int rigel_LoadFile() {
    return GuardExport("rigel_LoadFile", 0, [] {
        rigel::FileDialogRequest request;
        request.open = true;
        request.defaultExtension = "KOF-files";
        request.initialFileName = "*.KOF";
        request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
        const std::optional<std::string> path = rigel::GetHostUi()->OpenFileDialog(request);
        if (!path)
            return 0;
        CFile file;
        CFileException error;
        if (!file.Open(path->c_str(), CFile::modeRead, &error)) {
            rigel::Trace("[rigel_LoadFile] cannot open \"%s\": %s\n", *path, error.what());
            return 0;
        }
        CArchive archive(&file, CArchive::load, 4096);
        Serialize(&archive, nullptr, 2, 1, 1, 1);
        return 0;
    });
}
