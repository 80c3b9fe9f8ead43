#pragma once

#include "gui/common/historyboxes.h"

namespace kalvado {

class PrognosisForm;
class Windows;

// The prognosis form's boxes and options for the fill from the history.
class FormHistoryBoxes final : public HistoryBoxes {
public:
    FormHistoryBoxes(PrognosisForm &form, Windows *windows) : m_form(form), m_windows(windows) {}

    QString homeName() const override;
    QString guestName() const override;
    FillOptions fillOptions() const override;
    void setBoxText(Box box, int index, const QString &text) override;

private:
    PrognosisForm &m_form;
    Windows *m_windows; // the six-match option lives in the options window
};

} // namespace kalvado
