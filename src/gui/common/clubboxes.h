#pragma once

#include <QString>

namespace kalvado {

// The prognosis form's club names and recent-result boxes, as the club
// recent-results window reads and fills them.
class ClubBoxes {
public:
    virtual ~ClubBoxes() = default;
    virtual QString homeName() const = 0;  // txtDom
    virtual QString guestName() const = 0; // txtGost
    // Writes one match (index 0..7, 0 the oldest) of the home or guest club;
    // the boxes react as to typing.
    virtual void setResult(bool guest, int index, const QString &scored, const QString &conceded) = 0;
};

} // namespace kalvado
