#include "gui/history/historywindow.h"

#include "engine/numbertext.h"
#include "gui/common/alphabetical.h"
#include "gui/common/filedialogs.h"
#include "gui/common/messageboxes.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "gui/common/windows.h"
#include "gui/history/downloaddialog.h"
#include "gui/history/replaywindow.h"
#include "history/leagues.h"
#include "history/matchfile.h"

#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>

namespace kalvado {

namespace {

const QString kTitle = QStringLiteral("Kalvado");
constexpr int kPreviousTim = Qt::UserRole; // the link as stored

enum LeagueColumn { ColName, ColCode, ColSeasons, ColMatches, ColLast, LeagueColumns };

QString Matches(qint64 n) {
    return CountText(n, QStringLiteral("мач"), QStringLiteral("мача"));
}

// "добавени 380 мача, ..., пропуснати 2 реда (редове 5, 9: датата не е дата)"
QString SummaryText(const ImportSummary &s) {
    QString text = QStringLiteral("добавени %1, обновени %2, неиграни %3, пропуснати %4")
                       .arg(Matches(s.added), Matches(s.updated), Matches(s.notPlayed),
                            CountText(s.leftOut, QStringLiteral("ред"), QStringLiteral("реда")));
    if (s.firstLeftOut.isEmpty()) return text;
    // Lines with the same reason go together, in the order first met.
    QList<QPair<QString, QStringList>> byReason;
    for (const LeftOutRow &row : s.firstLeftOut) {
        auto it = std::find_if(byReason.begin(), byReason.end(),
                               [&](const auto &group) { return group.first == row.reason; });
        if (it == byReason.end()) it = byReason.insert(byReason.end(), {row.reason, {}});
        it->second << QString::number(row.line);
    }
    QStringList parts;
    for (const auto &[reason, lines] : byReason)
        parts << (lines.size() == 1 ? QStringLiteral("ред ") : QStringLiteral("редове ")) +
                     lines.join(u", ") + QStringLiteral(": ") + reason;
    if (s.leftOut > s.firstLeftOut.size()) parts << QStringLiteral("…");
    return text + QStringLiteral(" (") + parts.join(QStringLiteral("; ")) + u')';
}

bool IsExtraCode(const QString &code) {
    for (const SiteLeague &l : SiteLeagues())
        if (l.code == code) return l.extra;
    return false;
}

MatchFile Refused(const QString &fileName, const QString &error) {
    MatchFile file;
    file.fileName = fileName;
    file.error = error;
    return file;
}

// Reads one file from disk; runs on a worker thread.
MatchFile ReadFromDisk(const QString &path, const QString &fileName, const QString &extraCode) {
    const QString tooLarge = QStringLiteral("Файлът е по-голям от 64 MB и не се внася.");
    const QFileInfo info(path);
    if (!info.isFile()) return Refused(fileName, QStringLiteral("Няма такъв файл."));
    if (info.size() > kMaxMatchFileBytes) return Refused(fileName, tooLarge);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Refused(fileName, QStringLiteral("Файлът не може да се отвори: %1").arg(file.errorString()));
    // It may have grown since it was measured.
    const QByteArray bytes = file.read(kMaxMatchFileBytes + 1);
    if (bytes.size() > kMaxMatchFileBytes) return Refused(fileName, tooLarge);
    if (file.error() != QFileDevice::NoError)
        return Refused(fileName, QStringLiteral("Файлът не може да се прочете: %1").arg(file.errorString()));
    return ReadMatchFile(bytes, fileName, extraCode);
}

// The user's name column: typing offers the user's own club names.
class TimDelegate final : public QStyledItemDelegate {
public:
    TimDelegate(QStringListModel *names, QObject *parent) : QStyledItemDelegate(parent), m_names(names) {}
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override {
        auto *editor = new QLineEdit(parent);
        auto *completer = new QCompleter(m_names, editor);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setFilterMode(Qt::MatchContains);
        editor->setCompleter(completer);
        return editor;
    }

private:
    QStringListModel *m_names;
};

} // namespace

// One run of imports or downloads. Files are stored in their order, one per
// turn of the event loop, whatever order the workers finish them in.
struct HistoryWindow::Run {
    struct Ready {
        MatchFile file;
        QString failure; // a download that brought no file: its message
    };
    quint64 id = 0;
    bool fromNetwork = false;
    QStringList paths; // files to import
    int read = 0;      // of them, handed to the reader
    QStringList names; // file name or address, for the summary
    QStringList lines;
    QMap<int, Ready> ready;
    int next = 0;    // the next file to store
    int arrived = 0; // downloads fetched or failed
    std::shared_ptr<std::atomic_bool> cancelled = std::make_shared<std::atomic_bool>(false);
    HistoryDownload *download = nullptr;
};

HistoryWindow::HistoryWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent), m_ctx(ctx), m_store(ctx.connectionName) {
    setObjectName(QStringLiteral("frmIstoria"));
    setWindowTitle(QStringLiteral("История на мачовете"));
    resize(960, 600);

    // Files are stored one per timer turn, never from a posted call: the
    // window's input and painting come between files, and a steady run of
    // posted calls would hold back every other timer of the program.
    m_storeTimer = new QTimer(this);
    m_storeTimer->setSingleShot(true);
    m_storeTimer->setInterval(0);
    connect(m_storeTimer, &QTimer::timeout, this, &HistoryWindow::storeNext);

    m_pool = new QThreadPool(this);
    m_pool->setMaxThreadCount(1); // files are read in the order given

    tblLigi = Named(new QTableWidget(0, LeagueColumns, this), QStringLiteral("tblLigi"));
    tblLigi->setHorizontalHeaderLabels({QStringLiteral("Лига"), QStringLiteral("Код"),
                                        QStringLiteral("Сезони"), QStringLiteral("Мачове"),
                                        QStringLiteral("Последен мач")});
    tblLigi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblLigi->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblLigi->setSelectionMode(QAbstractItemView::SingleSelection);
    tblLigi->verticalHeader()->hide();
    const int rowHeight = fontMetrics().height() + 8;
    tblLigi->verticalHeader()->setDefaultSectionSize(rowHeight);
    tblLigi->horizontalHeader()->setSectionResizeMode(ColName, QHeaderView::Stretch);
    for (int c = ColCode; c < LeagueColumns; ++c)
        tblLigi->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);

    cmdVnesi = Named(new QPushButton(QStringLiteral("Внеси от файл…"), this), QStringLiteral("cmdVnesi"));
    cmdIztegli = Named(new QPushButton(QStringLiteral("Изтегли…"), this), QStringLiteral("cmdIztegli"));
    cmdIztrii = Named(new QPushButton(QStringLiteral("Изтрий лигата"), this), QStringLiteral("cmdIztrii"));
    cmdProverka =
        Named(new QPushButton(QStringLiteral("Проверка на формулата"), this), QStringLiteral("cmdProverka"));

    txtRezultat = Named(new QPlainTextEdit(this), QStringLiteral("txtRezultat"));
    txtRezultat->setReadOnly(true);
    txtRezultat->setPlaceholderText(QStringLiteral("Тук ще видите какво е внесено от всеки файл."));

    lblRabota = Named(PlainLabel(this), QStringLiteral("lblRabota"));
    lblRabota->setTextInteractionFlags(Qt::NoTextInteraction);
    prgRabota = Named(new QProgressBar(this), QStringLiteral("prgRabota"));
    cmdOtkaz = Named(new QPushButton(QStringLiteral("Отказ"), this), QStringLiteral("cmdOtkaz"));
    for (QWidget *w : {static_cast<QWidget *>(prgRabota), static_cast<QWidget *>(cmdOtkaz)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true); // nothing moves when a run starts or ends
        w->setSizePolicy(policy);
    }

    txtTarsi = Named(new QLineEdit(this), QStringLiteral("txtTarsi"));
    txtTarsi->setPlaceholderText(QStringLiteral("Търси клуб"));
    txtTarsi->setClearButtonEnabled(true);
    tblVrazki = Named(new QTableWidget(0, 2, this), QStringLiteral("tblVrazki"));
    tblVrazki->setHorizontalHeaderLabels(
        {QStringLiteral("Клуб в историята"), QStringLiteral("Име в програмата")});
    tblVrazki->verticalHeader()->hide();
    tblVrazki->verticalHeader()->setDefaultSectionSize(rowHeight);
    tblVrazki->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tblVrazki->setSelectionMode(QAbstractItemView::SingleSelection);
    m_timNames = new QStringListModel(this);
    tblVrazki->setItemDelegateForColumn(1, new TimDelegate(m_timNames, tblVrazki));

    auto heading = [this](const QString &text) {
        QLabel *label = PlainLabel(text, this);
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        return label;
    };

    auto *actions = new QHBoxLayout;
    actions->addWidget(cmdVnesi);
    actions->addWidget(cmdIztegli);
    actions->addWidget(cmdProverka);
    actions->addStretch();
    actions->addWidget(cmdIztrii);
    auto *work = new QHBoxLayout;
    work->addWidget(lblRabota, 1);
    work->addWidget(prgRabota, 1);
    work->addWidget(cmdOtkaz);

    auto *left = new QVBoxLayout;
    left->addWidget(heading(QStringLiteral("Лиги в историята")));
    left->addWidget(tblLigi, 3);
    left->addLayout(actions);
    left->addSpacing(6);
    left->addWidget(heading(QStringLiteral("Последно внасяне")));
    left->addWidget(txtRezultat, 2);
    left->addLayout(work);
    auto *right = new QVBoxLayout;
    right->addWidget(heading(QStringLiteral("Клубове и имената им в програмата")));
    right->addWidget(txtTarsi);
    right->addWidget(tblVrazki);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addSpacing(6);
    layout->addLayout(right, 2);

    connect(cmdVnesi, &QPushButton::clicked, this, &HistoryWindow::chooseFiles);
    connect(cmdIztegli, &QPushButton::clicked, this, &HistoryWindow::chooseDownload);
    connect(cmdIztrii, &QPushButton::clicked, this, &HistoryWindow::deleteLeague);
    connect(cmdProverka, &QPushButton::clicked, this, &HistoryWindow::openCheck);
    connect(cmdOtkaz, &QPushButton::clicked, this, &HistoryWindow::Cancel);
    connect(tblLigi, &QTableWidget::itemSelectionChanged, this, [this] {
        cmdIztrii->setEnabled(!busy() && tblLigi->currentRow() >= 0 && !tblLigi->selectedItems().isEmpty());
    });
    connect(tblVrazki, &QTableWidget::itemChanged, this, &HistoryWindow::linkEdited);
    connect(txtTarsi, &QLineEdit::textChanged, this, &HistoryWindow::filterLinks);

    setBusyControls(false);
    Refresh();
    CentreWindow(this);
}

HistoryWindow::~HistoryWindow() {
    if (m_run) {
        m_run->cancelled->store(true);
        if (HistoryDownload *download = m_run->download) {
            disconnect(download, nullptr, this, nullptr);
            download->cancel();
        }
    }
    // Workers post their results to this window: none may outlive it.
    m_pool->clear();
    m_pool->waitForDone();
}

void HistoryWindow::Refresh() {
    fillLeagues();
    fillLinks();
}

void HistoryWindow::fillLeagues() {
    const QString selected = tblLigi->currentRow() >= 0 && tblLigi->item(tblLigi->currentRow(), ColCode)
                                 ? tblLigi->item(tblLigi->currentRow(), ColCode)->text()
                                 : QString();
    const QList<LeagueSummary> leagues = m_store.Leagues();
    tblLigi->setUpdatesEnabled(false);
    tblLigi->clearContents();
    tblLigi->setRowCount(int(leagues.size()));
    for (int r = 0; r < leagues.size(); ++r) {
        const LeagueSummary &l = leagues[r];
        QString seasons;
        if (!l.seasons.isEmpty()) {
            seasons = l.seasons.size() == 1 ? l.seasons.first()
                                            : l.seasons.first() + QStringLiteral(" – ") + l.seasons.last();
            seasons += QStringLiteral(" (%1)").arg(l.seasons.size());
        }
        const QString texts[] = {
            l.name.isEmpty() ? l.code : l.name, l.code, seasons, QString::number(l.matches),
            l.lastDate.isValid() ? l.lastDate.toString(QStringLiteral("dd.MM.yyyy")) : QString()};
        for (int c = 0; c < LeagueColumns; ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            if (c == ColMatches) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tblLigi->setItem(r, c, item);
        }
        if (l.code == selected) tblLigi->setCurrentCell(r, ColName);
    }
    tblLigi->setUpdatesEnabled(true);
    cmdIztrii->setEnabled(!busy() && !tblLigi->selectedItems().isEmpty());
}

void HistoryWindow::fillLinks() {
    QStringList tims;
    {
        QSqlQuery query(QSqlDatabase::database(m_ctx.connectionName, false));
        if (query.exec(QStringLiteral("SELECT Tim FROM Tims")))
            while (query.next()) {
                const QString tim = query.value(0).toString().trimmed();
                if (!tim.isEmpty()) tims << tim;
            }
    }
    tims.removeDuplicates();
    SortAlphabetically(tims);
    m_timNames->setStringList(tims);

    const QList<ClubLink> links = m_store.Links();
    m_fillingLinks = true;
    tblVrazki->setUpdatesEnabled(false);
    tblVrazki->clearContents();
    tblVrazki->setRowCount(int(links.size()));
    for (int r = 0; r < links.size(); ++r) {
        auto *club = new QTableWidgetItem(links[r].name);
        club->setFlags(club->flags() & ~Qt::ItemIsEditable);
        tblVrazki->setItem(r, 0, club);
        auto *tim = new QTableWidgetItem(links[r].tim);
        tim->setData(kPreviousTim, links[r].tim);
        tblVrazki->setItem(r, 1, tim);
    }
    tblVrazki->setUpdatesEnabled(true);
    m_fillingLinks = false;
    filterLinks(txtTarsi->text());
}

void HistoryWindow::filterLinks(const QString &text) {
    const QString wanted = text.trimmed();
    for (int r = 0; r < tblVrazki->rowCount(); ++r) {
        bool shown = wanted.isEmpty();
        for (int c = 0; c < 2 && !shown; ++c)
            shown = tblVrazki->item(r, c)->text().contains(wanted, Qt::CaseInsensitive);
        tblVrazki->setRowHidden(r, !shown);
    }
}

void HistoryWindow::linkEdited(QTableWidgetItem *item) {
    if (m_fillingLinks || item->column() != 1) return;
    const QString name = tblVrazki->item(item->row(), 0)->text();
    const QString previous = item->data(kPreviousTim).toString();
    const QString tim = item->text().trimmed();
    QString error;
    if (tim != previous) error = m_store.SetLink(name, tim);
    m_fillingLinks = true;
    if (error.isEmpty()) {
        item->setData(kPreviousTim, tim);
        item->setText(tim);
    } else {
        item->setText(previous);
    }
    m_fillingLinks = false;
    if (!error.isEmpty()) databaseRefused(error);
}

void HistoryWindow::deleteLeague() {
    const int row = tblLigi->currentRow();
    if (busy() || row < 0 || !tblLigi->item(row, ColCode)) return;
    const QString name = tblLigi->item(row, ColName)->text();
    const QString code = tblLigi->item(row, ColCode)->text();
    const int matches = tblLigi->item(row, ColMatches)->text().toInt();
    const QString question =
        QStringLiteral("Да изтрия ли лигата „%1“ и всичките ѝ мачове (%2)?").arg(name, Matches(matches));
    if (m_ctx.messages->show(this, kTitle, question, MessageBoxes::Icon::Question,
                             MessageBoxes::Buttons::YesNo) != MessageBoxes::Answer::Yes)
        return;
    const QString error = m_store.DeleteLeague(code);
    if (!error.isEmpty()) {
        databaseRefused(error);
        return;
    }
    Refresh();
}

void HistoryWindow::chooseFiles() {
    if (busy()) return;
    QFileDialog dialog(this, QStringLiteral("Внеси мачове от файл"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters({QStringLiteral("Файлове с мачове (*.csv)"), QStringLiteral("Всички файлове (*)")});
    PrepareFileDialog(dialog, m_ctx.settings, QStringLiteral("Внеси"));
    if (dialog.exec() != QDialog::Accepted) return;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return;
    if (m_ctx.settings) RememberFolder(*m_ctx.settings, files.first());
    ImportFiles(files);
}

void HistoryWindow::chooseDownload() {
    if (busy()) return;
    DownloadDialog dialog(m_ctx.now ? m_ctx.now().date() : QDate::currentDate(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    Download(dialog.items(HistoryBase(m_ctx.settings)));
}

void HistoryWindow::startRun(int files, const QString &what) {
    m_run = std::make_unique<Run>();
    m_run->id = m_nextRunId++;
    for (int i = 0; i < files; ++i)
        m_run->lines << QString();
    prgRabota->setRange(0, files * 100);
    prgRabota->setValue(0);
    lblRabota->setText(what);
    txtRezultat->clear();
    setBusyControls(true);
}

void HistoryWindow::ImportFiles(const QStringList &paths) {
    if (busy() || paths.isEmpty()) return;
    startRun(int(paths.size()), QStringLiteral("Внасяне: 0 от %1").arg(paths.size()));
    m_run->paths = paths;
    for (const QString &path : paths)
        m_run->names << QFileInfo(path).fileName();
    readAhead();
    showSummary();
}

void HistoryWindow::readAhead() {
    // A few files read ahead keep the store busy without holding every file in memory.
    constexpr int kAhead = 3;
    while (m_run && m_run->read < m_run->paths.size() && m_run->read - m_run->next < kAhead) {
        const int i = m_run->read++;
        const QString path = m_run->paths[i];
        const QString fileName = m_run->names[i];
        // A file named after an extra league joins the league downloaded under that code.
        const QString base = QFileInfo(path).completeBaseName().toUpper();
        const QString extraCode = IsExtraCode(base) ? base : QString();
        const quint64 id = m_run->id;
        const auto cancelled = m_run->cancelled;
        m_pool->start([this, id, i, path, fileName, extraCode, cancelled] {
            if (cancelled->load()) return;
            MatchFile file = ReadFromDisk(path, fileName, extraCode);
            if (cancelled->load()) return;
            QMetaObject::invokeMethod(
                this, [this, id, i, file = std::move(file)] { parsed(id, i, file); }, Qt::QueuedConnection);
        });
    }
}

void HistoryWindow::Download(const QList<HistoryDownload::Item> &items) {
    if (busy() || items.isEmpty()) return;
    startRun(int(items.size()), QStringLiteral("Изтегляне…"));
    m_run->fromNetwork = true;
    for (const HistoryDownload::Item &item : items)
        m_run->names << item.url.toString();
    const quint64 id = m_run->id;
    auto *download = new HistoryDownload(this);
    m_run->download = download;
    connect(download, &HistoryDownload::progress, this,
            [this, id](int item, int items, qint64 received, qint64 total) {
                if (!m_run || m_run->id != id) return;
                const int part = total > 0 ? int(qBound(qint64(0), received * 100 / total, qint64(100))) : 0;
                prgRabota->setValue(qMax(prgRabota->value(), item * 100 + part));
                lblRabota->setText(QStringLiteral("Изтегляне: файл %1 от %2").arg(item + 1).arg(items));
            });
    connect(download, &HistoryDownload::fetched, this, [this, id, items](int item, const QByteArray &bytes) {
        if (!m_run || m_run->id != id || item < 0 || item >= items.size()) return;
        ++m_run->arrived;
        const QString fileName = items[item].url.fileName();
        const QString extraCode = items[item].extraCode;
        const auto cancelled = m_run->cancelled;
        m_pool->start([this, id, item, bytes, fileName, extraCode, cancelled] {
            if (cancelled->load()) return;
            MatchFile file = ReadMatchFile(bytes, fileName, extraCode);
            if (cancelled->load()) return;
            QMetaObject::invokeMethod(
                this, [this, id, item, file = std::move(file)] { parsed(id, item, file); },
                Qt::QueuedConnection);
        });
    });
    connect(download, &HistoryDownload::failed, this, [this, id](int item, const QString &message) {
        if (!m_run || m_run->id != id || item < 0 || item >= m_run->lines.size()) return;
        ++m_run->arrived;
        m_run->ready.insert(item, Run::Ready{MatchFile(), message});
        if (!m_storeTimer->isActive()) m_storeTimer->start();
    });
    connect(download, &HistoryDownload::finished, this, [this, id](bool) {
        // Over with items neither fetched nor failed: nothing more will come for them.
        if (m_run && m_run->id == id && m_run->arrived < m_run->lines.size()) finishRun(true);
    });
    download->start(items);
    showSummary();
}

void HistoryWindow::parsed(quint64 runId, int index, const MatchFile &file) {
    if (!m_run || m_run->id != runId || index < 0 || index >= m_run->lines.size()) return;
    m_run->ready.insert(index, Run::Ready{file, QString()});
    if (!m_storeTimer->isActive()) m_storeTimer->start();
}

void HistoryWindow::storeNext() {
    if (!m_run || m_storeTimer->isActive()) return;
    const auto it = m_run->ready.find(m_run->next);
    if (it == m_run->ready.end()) return;
    const Run::Ready ready = it.value();
    m_run->ready.erase(it);
    const int index = m_run->next++;
    const QString &name = m_run->names[index];
    QString dbError;
    if (!ready.failure.isEmpty()) {
        m_run->lines[index] = ready.failure;
    } else if (!ready.file.error.isEmpty()) {
        m_run->lines[index] = name + QStringLiteral(": ") + ready.file.error;
    } else {
        const ImportSummary summary = m_store.Import(ready.file);
        if (summary.error.isEmpty()) {
            m_run->lines[index] = name + QStringLiteral(": ") + SummaryText(summary);
        } else {
            dbError = summary.error;
            m_run->lines[index] = name + QStringLiteral(": не е внесен: ") + dbError;
        }
    }
    if (!dbError.isEmpty()) {
        // The database takes nothing now: the other files would only wait for it.
        finishRun(false);
        databaseRefused(dbError);
        return;
    }
    if (m_run->fromNetwork) {
        prgRabota->setValue(qMax(prgRabota->value(), m_run->next * 100));
    } else {
        prgRabota->setValue(m_run->next * 100);
        lblRabota->setText(QStringLiteral("Внасяне: %1 от %2").arg(m_run->next).arg(m_run->lines.size()));
    }
    showSummary();
    if (m_run->next == m_run->lines.size()) {
        finishRun(false);
        return;
    }
    readAhead();
    if (m_run->ready.contains(m_run->next)) m_storeTimer->start();
}

void HistoryWindow::Cancel() {
    if (busy()) finishRun(true);
}

void HistoryWindow::finishRun(bool stopped) {
    if (!m_run) return;
    m_run->cancelled->store(true);
    if (HistoryDownload *download = m_run->download) {
        disconnect(download, nullptr, this, nullptr);
        download->cancel();
        download->deleteLater();
    }
    for (qsizetype i = m_run->next; i < m_run->lines.size(); ++i)
        m_run->lines[i] = m_run->names[i] + (stopped ? QStringLiteral(": не е внесен, спряно преди него")
                                                     : QStringLiteral(": не е внесен"));
    showSummary();
    m_run.reset();
    setBusyControls(false);
    Refresh();
    emit runFinished();
}

void HistoryWindow::showSummary() {
    if (!m_run) return;
    QStringList shown;
    for (qsizetype i = 0; i < m_run->lines.size(); ++i)
        shown << (m_run->lines[i].isEmpty() ? m_run->names[i] + QStringLiteral(": …") : m_run->lines[i]);
    txtRezultat->setPlainText(shown.join(u'\n'));
}

void HistoryWindow::setBusyControls(bool running) {
    cmdVnesi->setEnabled(!running);
    cmdIztegli->setEnabled(!running);
    cmdIztrii->setEnabled(!running && !tblLigi->selectedItems().isEmpty());
    tblVrazki->setEditTriggers(running
                                   ? QAbstractItemView::NoEditTriggers
                                   : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                         QAbstractItemView::AnyKeyPressed);
    prgRabota->setVisible(running);
    cmdOtkaz->setVisible(running);
    if (!running) lblRabota->clear();
}

void HistoryWindow::databaseRefused(const QString &message) {
    m_ctx.messages->show(this, kTitle, message, MessageBoxes::Icon::Critical, MessageBoxes::Buttons::Ok);
}

void HistoryWindow::openCheck() {
    auto *check = qobject_cast<ReplayWindow *>(m_ctx.windows->show(WindowId::Proverka));
    // The league chosen here is the one to check, unless a check is running.
    const int row = tblLigi->currentRow();
    if (!check || check->isRunning() || row < 0 || tblLigi->selectedItems().isEmpty()) return;
    const int at = check->cmbLiga->findData(tblLigi->item(row, ColCode)->text());
    if (at >= 0) check->cmbLiga->setCurrentIndex(at);
}

} // namespace kalvado
