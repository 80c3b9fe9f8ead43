#include "gui/prognosis_form/formhistoryboxes.h"

#include "gui/common/windows.h"
#include "gui/prognosis_form/prognosisform.h"
#include "gui/shell/optionswindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace kalvado {

QString FormHistoryBoxes::homeName() const {
    return m_form.txtDom->text();
}

QString FormHistoryBoxes::guestName() const {
    return m_form.txtGost->text();
}

FillOptions FormHistoryBoxes::fillOptions() const {
    FillOptions o;
    auto *options = m_windows ? m_windows->get<OptionsWindow>(WindowId::Opt) : nullptr;
    o.sixMatch = options && options->sixMatchOn();
    o.headToHead = !m_form.chkIzkl10->isChecked();
    o.places = !m_form.chkIzkCl->isChecked();
    o.cup = m_form.optKupa->isChecked();
    o.oddsAnnounced = !m_form.chkNokoef->isChecked();
    return o;
}

void FormHistoryBoxes::setBoxText(Box box, int index, const QString &text) {
    QLineEdit *target = nullptr;
    const auto at = [index](const std::array<QLineEdit *, 8> &boxes) { return boxes[size_t(index & 7)]; };
    switch (box) {
    case Box::HomeScored:
        target = at(m_form.txtGDplus);
        break;
    case Box::HomeConceded:
        target = at(m_form.txtGDminus);
        break;
    case Box::GuestScored:
        target = at(m_form.txtGGplus);
        break;
    case Box::GuestConceded:
        target = at(m_form.txtGGminus);
        break;
    case Box::HomeWins:
        target = m_form.txtD;
        break;
    case Box::GuestWins:
        target = m_form.txtG;
        break;
    case Box::HomePlace:
        target = m_form.txtClD;
        break;
    case Box::GuestPlace:
        target = m_form.txtClG;
        break;
    case Box::Odds1:
        target = m_form.txt1;
        break;
    case Box::OddsX:
        target = m_form.txtX;
        break;
    case Box::Odds2:
        target = m_form.txt2;
        break;
    }
    target->setText(text);
}

} // namespace kalvado
