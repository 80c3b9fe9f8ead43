#include "gui/prognosis_form/prognosisform.h"

namespace kalvado {

PrognosisForm::PrognosisForm(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmPro"));
    setWindowTitle(QStringLiteral("Прогнозиране-придвижвай се с клавиш Tab"));
}

} // namespace kalvado
