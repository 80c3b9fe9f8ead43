#include "gui/shell/recentpanel.h"

namespace kalvado {

RecentPanel::RecentPanel(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {}

void RecentPanel::AddPrognosis(const QString &, const QString &, bool, const QString &, const QString &,
                               const QString &, const QString &, const QString &) {}
void RecentPanel::LoadPanel() {}
void RecentPanel::SavePanel() {}
void RecentPanel::Timer1Tick() {}

} // namespace kalvado
