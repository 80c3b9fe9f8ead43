#pragma once

#include "gui/common/appcontext.h"
#include "gui/common/historyboxes.h"

#include <QDialog>

#include <memory>

class QDateEdit;
class QLabel;
class QPushButton;

namespace kalvado {

// "От историята": the league and the date the form is filled for, and what
// was filled. The clubs were found in the history before it opens.
class HistoryFillDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryFillDialog)

public:
    HistoryFillDialog(AppContext &ctx, std::unique_ptr<HistoryBoxes> boxes, QString home, QString away,
                      QString league, const QDate &date, QWidget *parent);
    ~HistoryFillDialog() override;

    // "Попълни": fills the form's boxes for the date chosen.
    void Fill();

    QLabel *lblLiga = nullptr;
    QDateEdit *dateD = nullptr;
    QPushButton *cmdPopalni = nullptr;
    QPushButton *cmdZatvori = nullptr;
    QLabel *lblRezultat = nullptr;

private:
    AppContext &m_ctx;
    std::unique_ptr<HistoryBoxes> m_boxes;
    QString m_home; // history names
    QString m_away;
    QString m_league;
};

// Finds the form's two clubs in the history and opens the dialog over
// `parent`; a club that cannot be found is named in a message and nothing
// opens (nullptr).
HistoryFillDialog *ShowHistoryFill(AppContext &ctx, std::unique_ptr<HistoryBoxes> boxes, QWidget *parent);

} // namespace kalvado
