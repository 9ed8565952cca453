#pragma once

#include <QByteArray>
#include <cstdint>

// Frames as the PC puts them on the line, built here a third time so that a
// mistake shared by the simulator's writer and the link's encoder still shows.
namespace wireframe {

constexpr std::uint8_t Pc = 0x81;

// DLE STX to from data checksum DLE ETX, DLE doubled.
QByteArray build(std::uint8_t to, std::uint8_t from, const QByteArray &data);
// A request from the PC.
inline QByteArray request(std::uint8_t to, std::uint8_t command, const QByteArray &payload = {})
{
    return build(to, Pc, char(command) + payload);
}
// A controller's frame to the PC.
inline QByteArray reply(std::uint8_t from, const QByteArray &data)
{
    return build(Pc, from, data);
}
// "10 02 ..." to bytes.
QByteArray hex(const char *spaced);

} // namespace wireframe
