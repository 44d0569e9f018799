#include "frame/readers/Columns.h"

#include "platform/base/TextScan.h"

namespace rigel::columns {

int KofCode(std::string_view line) {
    return Atoi(kof::kCode.In(line));
}

MicHead ReadMicHead(std::string_view line) {
    MicHead head;
    head.kind = Atoi(mic::kKind.In(line));
    head.count = Atoi(mic::kCount.In(line));
    head.code = Atoi(mic::kCode.In(line));
    return head;
}

} // namespace rigel::columns
