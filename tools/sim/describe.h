#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace kv::sim {

// Human-readable texts for the frame log.
namespace describe {

// "10 02 AA 81 51 7A 10 03"
QString hex(const QByteArray &bytes);
// A request from the PC: "cmd 97 add card 0000012345".
QString request(std::uint8_t command, const QByteArray &payload);
// A controller's frame data, code first: "ACK", "test state=2 ...", "event '1' 01 card ...".
QString reply(std::uint8_t command, const QByteArray &data);
// Five code bytes as the PC reads them back: ten upper-case hex digits.
QString card(const QByteArray &code);

} // namespace describe
} // namespace kv::sim
