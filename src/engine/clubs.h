#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace kalvado {

// Clubs whose reputation adds to their expected goals. Names are compared
// whole, code unit by code unit.
const QStringList &TopClubs();
const QStringList &StrongClubs();

// Colours a club's name box takes when the club is chosen from a list.
struct ClubColour {
    QString name;
    std::uint32_t background; // 0xRRGGBB
    std::uint32_t text;       // 0xRRGGBB
};
const QList<ClubColour> &ClubColours();
std::optional<ClubColour> FindClubColour(const QString &name);

} // namespace kalvado
