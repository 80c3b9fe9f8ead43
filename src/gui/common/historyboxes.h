#pragma once

#include "history/historyfill.h"

#include <QString>

namespace kalvado {

// The prognosis form as "От историята" sees it: the two club names, the
// options that decide what may be filled, and the boxes it writes (each write
// acting as typing).
class HistoryBoxes : public FillTarget {
public:
    virtual QString homeName() const = 0;
    virtual QString guestName() const = 0;
    virtual FillOptions fillOptions() const = 0;
};

} // namespace kalvado
