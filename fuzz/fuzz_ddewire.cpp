// Whatever bytes a client sends, the request reader ends in one of its three
// states without reading past them; a complete frame is exactly what
// encoding its request gives, and every shorter piece of it waits for more.
#include "platform/ddewire.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ddewire::Parsed p = ddewire::parseRequest(bytes);
    switch (p.state) {
    case ddewire::Parsed::State::Invalid:
        if (p.error == ddewire::Status::Ack)
            __builtin_trap();
        break;
    case ddewire::Parsed::State::NeedMore: break;
    case ddewire::Parsed::State::Complete: {
        if (p.consumed > bytes.size() || p.request.execute.size() > ddewire::kMaxExecute || p.request.service.size() > ddewire::kMaxName ||
            p.request.topic.size() > ddewire::kMaxName)
            __builtin_trap();
        const QByteArray frame = ddewire::encodeRequest(p.request);
        if (frame != bytes.first(p.consumed))
            __builtin_trap();
        for (qsizetype n = 0; n < p.consumed; n += 1 + n / 4)
            if (ddewire::parseRequest(QByteArrayView(frame).first(n)).state != ddewire::Parsed::State::NeedMore)
                __builtin_trap();
        break;
    }
    }
    ddewire::Status status{};
    if (ddewire::parseReply(bytes, &status) && bytes.first(ddewire::kReplySize) != ddewire::encodeReply(status))
        __builtin_trap();
    return 0;
}
