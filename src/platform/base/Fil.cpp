#include "platform/base/Fil.h"

#include "platform/base/SystemFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

Fil::~Fil() {
    if (reading_ >= 0)
        ::close(reading_);
    // writer_ aborts itself when it was not committed.
}

int Fil::Finnes() const {
    return rigel::KindOf(name_.Get()) == rigel::FileKind::regular ? 1 : 0;
}

int Fil::LukkOpp(const char* mode) {
    if (ErApen() || mode == nullptr || mode[0] == '\0') {
        error_ = "file already open or no mode given";
        return 0;
    }
    if (mode[0] == 'r') {
        int fd = rigel::OpenFile(name_.Get(), O_RDONLY);
        if (fd < 0) {
            error_ = "cannot open '" + name_.str() + "': " + rigel::ErrnoText(errno);
            return 0;
        }
        const rigel::FileKind kind = rigel::KindOf(fd);
        if (kind == rigel::FileKind::missing || kind == rigel::FileKind::folder) {
            ::close(fd);
            error_ = "cannot open '" + name_.str() + "': is a folder";
            return 0;
        }
        reading_ = fd;
        return 1;
    }
    if (mode[0] == 'w') {
        if (!writer_.Open(name_.str())) {
            error_ = writer_.ErrorText();
            return 0;
        }
        return 1;
    }
    error_ = std::string("unsupported file mode \"") + mode + "\"";
    return 0;
}

int Fil::LukkIgjen() {
    if (reading_ >= 0) {
        ::close(reading_);
        reading_ = -1;
        return 1;
    }
    if (writer_.IsOpen()) {
        if (!writer_.Commit()) {
            error_ = writer_.ErrorText();
            return 0;
        }
        return 1;
    }
    return 0;
}

int Fil::WriteBytes(std::string_view bytes) {
    if (!writer_.IsOpen())
        return 0;
    if (!writer_.Write(bytes)) {
        error_ = writer_.ErrorText();
        return 0;
    }
    return 1;
}

long Fil::ReadBytes(char* buffer, std::size_t count) {
    if (reading_ < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::read(reading_, buffer, count);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno != EINTR) {
            error_ = "cannot read '" + name_.str() + "': " + rigel::ErrnoText(errno);
            return -1;
        }
    }
}
