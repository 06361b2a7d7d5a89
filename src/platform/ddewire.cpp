#include "ddewire.h"

namespace ddewire {

namespace {

constexpr char kRequestMagic[] = "QDDE";
constexpr char kReplyMagic[] = "QDDR";
constexpr std::uint8_t kVersion = 1;
constexpr std::uint8_t kKnownFlags = BringForward;

void putBig(QByteArray &out, std::uint32_t value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
}

std::uint32_t getBig(QByteArrayView bytes, qsizetype at, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | std::uint8_t(bytes[at + i]);
    return value;
}

Parsed invalid(Status status)
{
    Parsed p;
    p.state = Parsed::State::Invalid;
    p.error = status;
    return p;
}

} // namespace

QByteArray encodeRequest(const Request &request)
{
    if (request.service.size() > kMaxName || request.topic.size() > kMaxName || request.execute.size() > kMaxExecute ||
        (request.flags & ~kKnownFlags) != 0)
        return {};
    QByteArray out;
    out.reserve(kHeaderSize + request.service.size() + request.topic.size() + request.execute.size());
    out.append(kRequestMagic, 4);
    out.append(char(kVersion));
    out.append(char(request.flags));
    putBig(out, std::uint32_t(request.service.size()), 2);
    putBig(out, std::uint32_t(request.topic.size()), 2);
    putBig(out, std::uint32_t(request.execute.size()), 4);
    out.append(request.service);
    out.append(request.topic);
    out.append(request.execute);
    return out;
}

Parsed parseRequest(QByteArrayView bytes)
{
    // The magic is checked byte by byte as it arrives: junk is refused at once.
    for (qsizetype i = 0; i < 4 && i < bytes.size(); ++i)
        if (bytes[i] != kRequestMagic[i])
            return invalid(Status::Malformed);
    if (bytes.size() > 4 && std::uint8_t(bytes[4]) != kVersion)
        return invalid(Status::Malformed);
    if (bytes.size() > 5 && (std::uint8_t(bytes[5]) & ~kKnownFlags) != 0)
        return invalid(Status::Malformed);
    if (bytes.size() < kHeaderSize)
        return {};
    const qsizetype serviceLength = getBig(bytes, 6, 2);
    const qsizetype topicLength = getBig(bytes, 8, 2);
    const qsizetype executeLength = getBig(bytes, 10, 4);
    if (serviceLength > kMaxName || topicLength > kMaxName)
        return invalid(Status::Malformed);
    if (executeLength > kMaxExecute)
        return invalid(Status::TooLarge);
    const qsizetype total = kHeaderSize + serviceLength + topicLength + executeLength;
    if (bytes.size() < total)
        return {};
    Parsed p;
    p.state = Parsed::State::Complete;
    p.consumed = total;
    p.request.flags = std::uint8_t(bytes[5]);
    p.request.service = bytes.sliced(kHeaderSize, serviceLength).toByteArray();
    p.request.topic = bytes.sliced(kHeaderSize + serviceLength, topicLength).toByteArray();
    p.request.execute = bytes.sliced(kHeaderSize + serviceLength + topicLength, executeLength).toByteArray();
    return p;
}

QByteArray encodeReply(Status status)
{
    QByteArray out(kReplyMagic, 4);
    out.append(char(status));
    return out;
}

bool parseReply(QByteArrayView bytes, Status *status)
{
    if (bytes.size() < kReplySize || bytes.first(4) != QByteArrayView(kReplyMagic, 4))
        return false;
    const auto value = std::uint8_t(bytes[4]);
    if (value > std::uint8_t(Status::Busy))
        return false;
    *status = Status(value);
    return true;
}

} // namespace ddewire
