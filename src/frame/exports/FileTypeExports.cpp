// File-type numbers and extensions for the host.

#include "frame/ExportGuard.h"
#include "frame/FileTypes.h"
#include "frame/RigelExports.h"

using rigel::GuardExport;

bool GetFileExtFromFileType(unsigned type, CString* out, unsigned char withDot) {
    return GuardExport("GetFileExtFromFileType", false, [&] {
        if (out == nullptr)
            return false;
        out->Empty();
        const std::string_view extension = rigel::ExtensionOfType(type);
        if (extension.empty())
            return false;
        *out = CString(extension);
        if (withDot != 0)
            out->Insert(0, ".");
        return true;
    });
}

bool SetFileExtFromFileType(unsigned type, CString* path, CString* newPath) {
    return GuardExport("SetFileExtFromFileType", false, [&] {
        if (path == nullptr)
            return false;
        if (newPath != nullptr)
            *path = *newPath;
        *path = CString(rigel::ReplaceExtension(path->str(), rigel::ExtensionOfType(type)));
        return true;
    });
}

bool SetFileExtFromFileType2(unsigned type, Streng* name, CString* newPath) {
    return GuardExport("SetFileExtFromFileType2", false, [&] {
        if (name == nullptr)
            return false;
        CString path(name->str());
        const bool done = SetFileExtFromFileType(type, &path, newPath);
        name->Init("%s", path.str());
        return done;
    });
}

bool GetFileTypeFromFileExt(CString* name, unsigned* type) {
    return GuardExport("GetFileTypeFromFileExt", false, [&] {
        if (name == nullptr || type == nullptr)
            return false;
        *type = rigel::kAllTypes;
        const std::optional<unsigned> found =
            rigel::TypeOfExtension(rigel::ExtensionOfName(name->str()));
        if (!found)
            return false;
        *type = *found;
        return true;
    });
}

bool GetFileTypeFromFileName(CString* name, unsigned* type) {
    return GetFileTypeFromFileExt(name, type);
}

bool GetFileTypeFromArchive(CArchive* archive, unsigned* type) {
    return GuardExport("GetFileTypeFromArchive", false, [&] {
        if (archive == nullptr || archive->GetFile() == nullptr)
            return false;
        CString path = archive->GetFile()->GetFilePath();
        return GetFileTypeFromFileExt(&path, type);
    });
}
