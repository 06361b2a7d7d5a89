// The frames of the command channel: one execute request from a client, one
// status reply from the editor. Pure functions over bytes, so that the
// server, the clients and the fuzzer share one reading of the format.
//
// Request: "QDDE", version 1, flags, service length (u16), topic length
// (u16), execute length (u32), then the three byte strings; numbers are
// big-endian. Reply: "QDDR" and one status byte.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace ddewire {

// Execute texts above this are refused before their bytes are read.
inline constexpr qsizetype kMaxExecute = qsizetype(1) << 20;
inline constexpr qsizetype kMaxName = 255;
inline constexpr qsizetype kHeaderSize = 4 + 1 + 1 + 2 + 2 + 4;
inline constexpr qsizetype kReplySize = 5;

// The main window answers this topic (compared case-insensitively).
inline constexpr char kTopic[] = "DdeServer";

enum Flag : std::uint8_t {
    // The editor brings its main window forward after the execute.
    BringForward = 0x01,
};

enum class Status : std::uint8_t {
    Ack = 0,
    UnknownService = 1,
    UnknownTopic = 2,
    Malformed = 3,
    TooLarge = 4,
    Busy = 5,
};

struct Request {
    QByteArray service;
    QByteArray topic;
    QByteArray execute;
    std::uint8_t flags = 0;

    bool operator==(const Request &) const = default;
};

// Frames a request; names over kMaxName or execute texts over kMaxExecute
// give an empty result, since no server would take them.
QByteArray encodeRequest(const Request &request);

struct Parsed {
    enum class State { NeedMore, Complete, Invalid };
    State state = State::NeedMore;
    Request request;                  // Complete only
    qsizetype consumed = 0;           // Complete only: the frame's length
    Status error = Status::Malformed; // Invalid only: what to reply
};

// Reads one request from the start of bytes. Invalid is decided as soon as
// the header shows it (wrong magic or version, unknown flags, names too
// long, execute too large), so a server never buffers a refused frame.
Parsed parseRequest(QByteArrayView bytes);

QByteArray encodeReply(Status status);
// False while the reply is incomplete or when it is not a reply at all.
bool parseReply(QByteArrayView bytes, Status *status);

} // namespace ddewire
