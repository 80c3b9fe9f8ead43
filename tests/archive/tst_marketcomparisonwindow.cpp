// The comparison with the bookmakers: the counting rules, the chart, the
// button that opens it from the statistics window, and the export of the
// whole archive (quoting, a verbatim re-read, failures that leave no half file).
#include "gui/archive/archiveexport.h"
#include "gui/archive/marketcomparisonwindow.h"
#include "gui/archive/statisticswindow.h"
#include "gui/common/twips.h"
#include "support/testenv.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QValueAxis>

#include <csignal>
#include <memory>

#include <sys/resource.h>

using namespace kalvado;

// proD, proG, resD, resG, k1, kX, k2 ("" is NULL); a leading "!" on proD
// leaves the home club empty.
using Row = QStringList;

namespace {

// A reader of the written files that shares nothing with the writer:
// ";" between fields, fields in double quotes may hold anything, "" is a quote.
QList<QStringList> ReadCsv(const QString &text) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c != u'"') {
                field += c;
            } else if (i + 1 < text.size() && text[i + 1] == u'"') {
                field += c;
                ++i;
            } else {
                inQuotes = false;
            }
        } else if (c == u'"' && field.isEmpty()) {
            inQuotes = true;
        } else if (c == u';') {
            record << field;
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue;
        } else if (c == u'\n') {
            record << field;
            records << record;
            record.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !record.isEmpty()) records << (record << field);
    return records;
}

QByteArray Contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestMarketComparisonWindow final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void counts_data();
    void counts();
    void signTable();
    void chartFollowsTheProfit();
    void longArchiveChartKeepsItsPeaks();
    void nothingToCompare_data();
    void nothingToCompare();
    void openedFromTheStatisticsWindow();
    void fileWithoutTheOddsColumns();

    void csvField_data();
    void csvField();
    void exportReadsBackVerbatim();
    void exportFailureLeavesNoHalfFile_data();
    void exportFailureLeavesNoHalfFile();
    void exportDialogStartsWhereTheUserCanWrite_data();
    void exportDialogStartsWhereTheUserCanWrite();

private:
    void insert(const QList<Row> &rows);
    // Dom, Gost, proD, proG, resD, resG, k1, kX, k2, Created ("" is NULL).
    void insertFull(const QStringList &values);
    MarketComparisonWindow *window() { return m_env->windows.get<MarketComparisonWindow>(WindowId::Pazar); }

    std::unique_ptr<test::TestEnv> m_env;
    int m_nom = 0;
};

void TestMarketComparisonWindow::init() {
    m_env = std::make_unique<test::TestEnv>();
    m_nom = 0;
}

void TestMarketComparisonWindow::cleanup() {
    m_env.reset();
}

void TestMarketComparisonWindow::insertFull(const QStringList &values) {
    QSqlQuery q(QSqlDatabase::database(m_env->ctx.connectionName));
    q.prepare(QStringLiteral("INSERT INTO KD (Nom, Dom, Gost, proD, proG, resD, resG, k1, kX, k2, Created) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(m_nom++);
    for (const QString &v : values)
        q.addBindValue(v.isEmpty() ? QVariant() : QVariant(v));
    QVERIFY(q.exec());
}

void TestMarketComparisonWindow::insert(const QList<Row> &rows) {
    for (Row r : rows) {
        const bool noHome = r[0].startsWith(u'!');
        if (noHome) r[0].remove(0, 1);
        insertFull(QStringList{noHome ? QString() : QStringLiteral("домакин"), QStringLiteral("гост")} + r +
                   QStringList{QStringLiteral("2026-12-08 10:00:00")});
    }
}

void TestMarketComparisonWindow::counts_data() {
    QTest::addColumn<QList<Row>>("rows");
    // compared, left out; sign hits of the prognoses, the favourite, "always
    // 1", exact hits; their percentages; profit and yield of the prognoses
    // and of the favourite.
    QTest::addColumn<QStringList>("shown");
    const auto row = [](const char *name, const QList<Row> &rows, const QStringList &shown) {
        QTest::newRow(name) << rows << shown;
    };
    row("prognosis and favourite right", {{"2", "1", "3", "0", "1,50", "3,40", "6,00"}},
        {"1", "0", "1", "1", "1", "0", "100 %", "100 %", "100 %", "0 %", "+0,50", "+0,50", "+50,0 %",
         "+50,0 %"});
    row("favourite is the guest", {{"1", "0", "0", "1", "4,00", "3,50", "1,90"}},
        {"1", "0", "0", "1", "0", "0", "0 %", "100 %", "0 %", "0 %", "-1,00", "+0,90", "-100,0 %",
         "+90,0 %"});
    row("tie of 1 and X goes to 1", {{"1", "1", "1", "1", "2,50", "2,5", "3,00"}},
        {"1", "0", "1", "0", "0", "1", "100 %", "0 %", "0 %", "100 %", "+1,50", "-1,00", "+150,0 %",
         "-100,0 %"});
    row("tie of X and 2 goes to X", {{"0", "1", "0", "2", "3,00", "2,20", "2,2"}},
        {"1", "0", "1", "0", "0", "0", "100 %", "0 %", "0 %", "0 %", "+1,20", "-1,00", "+120,0 %",
         "-100,0 %"});
    row("three-way tie goes to 1", {{"2", "0", "1", "0", "2,90", "2,90", "2,90"}},
        {"1", "0", "1", "1", "1", "0", "100 %", "100 %", "100 %", "0 %", "+1,90", "+1,90", "+190,0 %",
         "+190,0 %"});
    row("rows without odds are left out",
        {{"2", "1", "3", "0", "1,50", "3,40", "6,00"}, {"1", "0", "0", "1", "", "", ""}},
        {"1", "1", "1", "1", "1", "0", "100 %", "100 %", "100 %", "0 %", "+0,50", "+0,50", "+50,0 %",
         "+50,0 %"});
    row("odds that cannot be read",
        {{"1", "0", "1", "0", "abc", "3,40", "4,00"},
         {"1", "0", "1", "0", "2.10", "3,40", "4,00"},
         {"1", "0", "1", "0", "0,95", "3,40", "4,00"},
         {"1", "0", "1", "0", "1,80", " ", "4,00"},
         {"1", "0", "1", "0", "1,80", "3,40", "1e3"}},
        {"0", "5", "0", "0", "0", "0", "", "", "", "", "0,00", "0,00", "", ""});
    row("goals that are no whole number",
        {{"1", "0", "2,5", "1", "2,00", "3,00", "4,00"},
         {"1", "0", "-", "0", "2,00", "3,00", "4,00"},
         {"1", "0", "1", "", "2,00", "3,00", "4,00"},
         {"1,0", "0", "1", "0", "2,00", "3,00", "4,00"}},
        {"0", "0", "0", "0", "0", "0", "", "", "", "", "0,00", "0,00", "", ""});
    row("stops at the first row without a home club",
        {{"1", "0", "1", "0", "2,00", "3,00", "4,00"},
         {"!1", "0", "1", "0", "2,00", "3,00", "4,00"},
         {"1", "0", "1", "0", "2,00", "3,00", "4,00"}},
        {"1", "0", "1", "1", "1", "1", "100 %", "100 %", "100 %", "100 %", "+1,00", "+1,00", "+100,0 %",
         "+100,0 %"});
    // 0,245 over two stakes: 12,25 % and 0,245 go down to the even neighbour,
    // 12,75 % and 0,255 up.
    row("halves go down to even",
        {{"1", "0", "1", "0", "2,245", "3,00", "4,00"}, {"1", "0", "0", "1", "2,245", "3,00", "4,00"}},
        {"2", "0", "1", "1", "1", "1", "50 %", "50 %", "50 %", "50 %", "+0,24", "+0,24", "+12,2 %",
         "+12,2 %"});
    row("halves go up to even",
        {{"1", "0", "1", "0", "2,255", "3,00", "4,00"}, {"1", "0", "0", "1", "2,255", "3,00", "4,00"}},
        {"2", "0", "1", "1", "1", "1", "50 %", "50 %", "50 %", "50 %", "+0,26", "+0,26", "+12,8 %",
         "+12,8 %"});
    row("percentages of eight",
        QList<Row>{{"0", "1", "0", "1", "5,00", "3,00", "1,50"}} +
            QList<Row>(7, {"0", "1", "1", "0", "5,00", "3,00", "1,50"}),
        {"8", "0", "1", "1", "7", "1", "12 %", "12 %", "88 %", "12 %", "-6,50", "-6,50", "-81,2 %",
         "-81,2 %"});
}

void TestMarketComparisonWindow::counts() {
    QFETCH(QList<Row>, rows);
    QFETCH(QStringList, shown);
    insert(rows);
    MarketComparisonWindow *w = window();
    QStringList texts{w->lblCompared->text(), w->lblLeftOut->text()};
    for (QLabel *l : w->lblHits)
        texts << l->text();
    for (QLabel *l : w->lblHitsPct)
        texts << l->text();
    texts << w->lblProfit[0]->text() << w->lblProfit[1]->text() << w->lblYield[0]->text()
          << w->lblYield[1]->text();
    QCOMPARE(texts, shown);
    QCOMPARE(w->lblStakes[0]->text(), shown.at(0));
    QCOMPARE(w->chtProfit != nullptr, shown.at(0) != QStringLiteral("0"));
}

void TestMarketComparisonWindow::signTable() {
    insert({{"1", "0", "2", "0", "2,00", "3,00", "4,00"},
            {"1", "0", "1", "1", "2,00", "3,00", "4,00"},
            {"1", "1", "0", "3", "2,00", "3,00", "4,00"},
            {"0", "2", "0", "1", "2,00", "3,00", "4,00"},
            {"0", "2", "2", "2", "2,00", "3,00", "4,00"},
            {"0", "2", "2", "2", "", "", ""}});
    MarketComparisonWindow *w = window();
    QStringList cells;
    for (int p = 0; p < 3; ++p)
        for (int r = 0; r < 3; ++r)
            cells << w->lblSigns[p][r]->text();
    QCOMPARE(cells, (QStringList{"1", "1", "0", "0", "0", "1", "0", "1", "1"}));
}

void TestMarketComparisonWindow::chartFollowsTheProfit() {
    insert({{"1", "0", "1", "0", "2,00", "3,00", "1,50"},
            {"1", "0", "0", "1", "2,00", "3,00", "1,50"},
            {"1", "0", "1", "0", "", "", ""},
            {"0", "0", "0", "0", "2,00", "3,40", "1,50"}});
    MarketComparisonWindow *w = window();
    QVERIFY(w->chtProfit);
    QChart *chart = w->chtProfit->chart();
    QCOMPARE(chart->series().size(), 2);
    const auto *prognoses = qobject_cast<QLineSeries *>(chart->series().at(0));
    const auto *favourite = qobject_cast<QLineSeries *>(chart->series().at(1));
    QCOMPARE(prognoses->name(), QStringLiteral("Прогнози Kalvado"));
    QCOMPARE(prognoses->points(), (QList<QPointF>{{0, 0}, {1, 1}, {2, 0}, {3, 2.4}}));
    QCOMPARE(favourite->points(), (QList<QPointF>{{0, 0}, {1, -1}, {2, -0.5}, {3, -1.5}}));
    // Axis numbers in the Bulgarian form.
    QVERIFY(chart->localizeNumbers());
    QCOMPARE(chart->locale().decimalPoint(), QStringLiteral(","));
    const auto *y = qobject_cast<QValueAxis *>(chart->axes(Qt::Vertical).value(0));
    QVERIFY(y);
    QVERIFY(y->min() <= -1.5 && y->max() >= 2.4);
    QCOMPARE(y->titleText(), QStringLiteral("Натрупана печалба (залог 1)"));
}

void TestMarketComparisonWindow::longArchiveChartKeepsItsPeaks() {
    // 5,000 prognoses: a long run of wins at 1,50, then a long run of losses.
    QSqlQuery q(QSqlDatabase::database(m_env->ctx.connectionName));
    QVERIFY(q.exec(
        QStringLiteral("INSERT INTO KD (Nom, Dom, Gost, proD, proG, resD, resG, k1, kX, k2) "
                       "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 4999) "
                       "SELECT i, 'а', 'б', '1', '0', CASE WHEN i < 3001 THEN '1' ELSE '0' END, "
                       "CASE WHEN i < 3001 THEN '0' ELSE '1' END, '1,50', '3,00', '5,00' FROM n")));
    MarketComparisonWindow *w = window();
    QCOMPARE(w->lblCompared->text(), QStringLiteral("5000"));
    QCOMPARE(w->lblProfit[0]->text(), QStringLiteral("-498,50"));
    const QList<QPointF> points =
        qobject_cast<QLineSeries *>(w->chtProfit->chart()->series().at(0))->points();
    QVERIFY(points.size() < 2500);
    QVERIFY(points.contains(QPointF(3001, 1500.5)));
    QCOMPARE(points.last(), QPointF(5000, -498.5));
}

void TestMarketComparisonWindow::nothingToCompare_data() {
    QTest::addColumn<QList<Row>>("rows");
    QTest::addColumn<QString>("leftOut");
    QTest::newRow("empty archive") << QList<Row>{} << "0";
    QTest::newRow("no result entered") << QList<Row>{{"1", "0", "", "", "2,00", "3,00", "4,00"}} << "0";
    QTest::newRow("odds not announced") << QList<Row>{{"1", "0", "1", "0", "", "", ""}} << "1";
}

void TestMarketComparisonWindow::nothingToCompare() {
    QFETCH(QList<Row>, rows);
    QFETCH(QString, leftOut);
    insert(rows);
    MarketComparisonWindow *w = window();
    QCOMPARE(w->objectName(), QStringLiteral("frmPazar"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Сравнение с букмейкърите"));
    QCOMPARE(w->lblCompared->text(), QStringLiteral("0"));
    QCOMPARE(w->lblLeftOut->text(), leftOut);
    QVERIFY(w->lblNote->text().startsWith(QStringLiteral("Няма завършени прогнози с коефициенти")));
    QVERIFY(!w->chtProfit);
    QVERIFY(!w->findChild<QChartView *>());
    QCOMPARE(w->lblYield[0]->text(), QString());
    QVERIFY(m_env->messages.shown().isEmpty());
}

void TestMarketComparisonWindow::openedFromTheStatisticsWindow() {
    insert({{"1", "0", "1", "0", "2,00", "3,00", "4,00"}});
    auto *stat = m_env->windows.get<StatisticsWindow>(WindowId::Stat);
    QPushButton *button = stat->cmdPazar;
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("Сравнение с букмейкърите"));
    // The window and its other controls keep their places; the button
    // overlaps none of them.
    QCOMPARE(stat->size(), TwipRect(0, 0, 7320, 4200).size());
    QCOMPARE(stat->cmdOK->geometry(), TwipRect(5160, 3480, 1680, 450));
    QVERIFY(stat->rect().contains(button->geometry()));
    for (QWidget *other : stat->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (other != button)
            QVERIFY2(!other->geometry().intersects(button->geometry()), qPrintable(other->objectName()));
    QVERIFY(!m_env->windows.isLoaded(WindowId::Pazar));
    button->click();
    auto *w = m_env->windows.ifLoaded<MarketComparisonWindow>(WindowId::Pazar);
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QCOMPARE(w->lblCompared->text(), QStringLiteral("1"));
    // Room for its frame and a panel on a 720-pixel screen, nothing cut.
    QVERIFY(w->height() <= 640);
    for (QWidget *child : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(w->rect().contains(child->geometry()), qPrintable(child->objectName()));
    // Stored text is never read as markup here.
    for (QLabel *l : w->findChildren<QLabel *>())
        QCOMPARE(l->textFormat(), Qt::PlainText);
}

void TestMarketComparisonWindow::fileWithoutTheOddsColumns() {
    // As a file is left when it could not be upgraded (opened read-only).
    for (const char *column : {"k1", "kX", "k2", "Created"})
        m_env->exec(QStringLiteral("ALTER TABLE KD DROP COLUMN ") + QLatin1String(column));
    m_env->exec(QStringLiteral(
        "INSERT INTO KD VALUES (0, 'а', 'б', '1', '0', '1', '0'), (1, 'в', 'г', '2', '2', NULL, NULL)"));
    MarketComparisonWindow *w = window();
    QCOMPARE(w->lblCompared->text(), QStringLiteral("0"));
    QCOMPARE(w->lblLeftOut->text(), QStringLiteral("1"));
    QVERIFY(!w->chtProfit);
    const QString path = m_env->dir.filePath(QStringLiteral("стар.csv"));
    w->setExportPathChooser([&] { return path; });
    w->cmdExport->click();
    QCOMPARE(m_env->messages.shown().value(0).icon, MessageBoxes::Icon::Information);
    const QList<QStringList> read = ReadCsv(QString::fromUtf8(Contents(path).mid(3)));
    QCOMPARE(read.size(), 3);
    QCOMPARE(read.at(1), (QStringList{"0", "а", "б", "1", "0", "1", "0", "", "", "", "", "1", "1"}));
    QCOMPARE(read.at(2), (QStringList{"1", "в", "г", "2", "2", "", "", "", "", "", "", "X", ""}));
}

void TestMarketComparisonWindow::csvField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "левски"
                           << "левски";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("decimal comma needs no quotes") << "2,50"
                                                   << "2,50";
    QTest::newRow("blanks kept") << " а б "
                                 << " а б ";
    QTest::newRow("separator") << "арда; етър"
                               << "\"арда; етър\"";
    QTest::newRow("quote") << "o'neil \"fc\""
                           << "\"o'neil \"\"fc\"\"\"";
    QTest::newRow("lone quote") << "\""
                                << "\"\"\"\"";
    QTest::newRow("line feed") << "две\nреда"
                               << "\"две\nреда\"";
    QTest::newRow("carriage return") << "ред\rвръщане"
                                     << "\"ред\rвръщане\"";
}

void TestMarketComparisonWindow::csvField() {
    QFETCH(QString, text);
    QFETCH(QString, written);
    QCOMPARE(CsvField(text), written);
}

void TestMarketComparisonWindow::exportReadsBackVerbatim() {
    const QString longName = QString(QStringLiteral("Щ;\"\n")).repeated(250);
    QCOMPARE(longName.size(), 1000);
    const QList<QStringList> rows{
        {"левски", "цска", "2", "1", "3", "0", "1,85", "3,40", "4,20", "2026-12-08 10:00:00"},
        {"o'neil \"fc\"", "арда; етър", "0", "2", "", "", "", "", "", "2026-12-08 10:01:00"},
        {"две\nреда", "ред\r\nпрозорец", "1", "1", "2,5", "1", "2,10", "3,00", "3,30", ""},
        {longName, "\"", "1", "0", "0", "0", "", "", "", ""},
        {"", "без домакин", "0", "0", "1", "1", "2,00", "3,00", "4,00", ""},
        {" ", ";", "3", "3", " 1", "0 ", "1,50", "4,00", "6,00", ""}};
    for (const QStringList &r : rows)
        insertFull(r);
    const QString path = m_env->dir.filePath(QStringLiteral("архив.csv"));
    // An older, longer file in its place is replaced whole.
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(200000, 'x'));
    }
    MarketComparisonWindow *w = window();
    QCOMPARE(w->cmdExport->text(), QStringLiteral("Експорт в CSV…"));
    int asked = 0;
    w->setExportPathChooser([&] {
        ++asked;
        return path;
    });
    m_env->messages.queueAnswer(MessageBoxes::Answer::Yes);
    w->cmdExport->click();
    QCOMPARE(asked, 1);
    QCOMPARE(m_env->messages.shown().size(), 2);
    QCOMPARE(m_env->messages.shown().first().buttons, MessageBoxes::Buttons::YesNo);
    QVERIFY(m_env->messages.shown().first().text.contains(path));
    QCOMPARE(m_env->messages.shown().last().icon, MessageBoxes::Icon::Information);
    QVERIFY(m_env->messages.shown().last().text.contains(QStringLiteral("6 прогнози")));

    const QByteArray bytes = Contents(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(!bytes.contains('x'));
    const QList<QStringList> read = ReadCsv(QString::fromUtf8(bytes.mid(3)));
    QCOMPARE(read.size(), rows.size() + 1);
    QCOMPARE(read.first(), CsvHeader());
    QCOMPARE(read.first().first(), QStringLiteral("Номер"));
    const QStringList signs[] = {{"1", "1"}, {"2", ""}, {"X", ""}, {"1", "X"}, {"X", "X"}, {"X", "1"}};
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(read.at(i + 1), QStringList{QString::number(i)} + rows.at(i) + signs[i]);
    // Each record is one line of the file unless a field holds a line break.
    QVERIFY(bytes.contains("0;левски;цска;2;1;3;0;1,85;3,40;4,20;2026-12-08 10:00:00;1;1\r\n"));
}

void TestMarketComparisonWindow::exportFailureLeavesNoHalfFile_data() {
    QTest::addColumn<QString>("target"); // inside the test folder
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("folder does not exist") << "липсва/архив.csv" << false;
    QTest::newRow("target is a folder") << "папка" << false;
    QTest::newRow("disk fills up over an older file") << "архив.csv" << true;
    // An empty target: the older file is there, the user keeps it.
    QTest::newRow("replacing declined") << "" << false;
}

void TestMarketComparisonWindow::exportFailureLeavesNoHalfFile() {
    QFETCH(QString, target);
    QFETCH(bool, diskFull);
    QTemporaryDir out;
    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("папка")));
    const bool declined = target.isEmpty();
    const QString path = out.filePath(declined ? QStringLiteral("архив.csv") : target);
    const QByteArray older("an older export\r\n");
    if (diskFull || declined) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(older);
    }
    const QStringList before = QDir(out.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    // Far more than the space left.
    const QString name = QString(200, QChar(u'ж'));
    QSqlDatabase db = QSqlDatabase::database(m_env->ctx.connectionName);
    db.transaction();
    for (int i = 0; i < 300; ++i)
        insertFull({name, name, "1", "0", "1", "0", "2,00", "3,00", "4,00", ""});
    db.commit();
    MarketComparisonWindow *w = window();
    w->setExportPathChooser([&] { return path; });

    // A full disk, as the process sees it: writes beyond 64 KiB fail.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    if (diskFull) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 64 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    if (diskFull) m_env->messages.queueAnswer(MessageBoxes::Answer::Yes);
    w->cmdExport->click();
    if (diskFull) setrlimit(RLIMIT_FSIZE, &saved);

    // Replacing is asked first; the scripted answer to a question is No.
    const auto &shown = m_env->messages.shown();
    QCOMPARE(shown.size(), declined ? 1 : (diskFull ? 2 : 1));
    if (diskFull || declined) QCOMPARE(shown.first().icon, MessageBoxes::Icon::Question);
    if (!declined) {
        QCOMPARE(shown.last().icon, MessageBoxes::Icon::Exclamation);
        QVERIFY(shown.last().text.startsWith(QStringLiteral("Архивът не е записан във файла:\n") + path));
    }
    QCOMPARE(QDir(out.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);
    if (diskFull || declined) QCOMPARE(Contents(path), older);
}

void TestMarketComparisonWindow::exportDialogStartsWhereTheUserCanWrite_data() {
    QTest::addColumn<QString>("chosenBefore"); // a file exported to earlier, under home
    QTest::addColumn<bool>("documents");
    QTest::addColumn<QString>("startsIn"); // under home
    QTest::newRow("folder chosen before") << "изход/архив.csv" << true << "изход";
    QTest::newRow("documents") << "" << true << "Documents";
    QTest::newRow("home") << "" << false << "";
    QTest::newRow("folder chosen before is gone") << "изход/архив.csv|gone" << true << "Documents";
}

void TestMarketComparisonWindow::exportDialogStartsWhereTheUserCanWrite() {
    QFETCH(QString, chosenBefore);
    QFETCH(bool, documents);
    QFETCH(QString, startsIn);
    QTemporaryDir home;
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    const QDir dir(home.path());
    if (documents) QVERIFY(dir.mkdir(QStringLiteral("Documents")));
    MarketComparisonWindow *w = window();
    if (!chosenBefore.isEmpty()) {
        insert({{"1", "0", "1", "0", "2,00", "3,00", "4,00"}});
        QVERIFY(dir.mkdir(QStringLiteral("изход")));
        w->setExportPathChooser([&] { return dir.filePath(chosenBefore.section(u'|', 0, 0)); });
        w->cmdExport->click();
        QVERIFY(m_env->messages.shown().value(0).text.startsWith(
            QStringLiteral("Архивът (1 прогноза) е записан")));
        if (chosenBefore.endsWith(QStringLiteral("|gone")))
            QVERIFY(QDir(dir.filePath(QStringLiteral("изход"))).removeRecursively());
        w->setExportPathChooser(nullptr);
    }
    QString started;
    QTimer::singleShot(0, this, [&] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QFileDialog *>(top); dialog && dialog->isVisible()) {
                started = dialog->directory().absolutePath();
                dialog->reject();
            }
    });
    w->cmdExport->click();
    qputenv("HOME", savedHome);
    QCOMPARE(started, QDir::cleanPath(dir.filePath(startsIn)));
}

QTEST_MAIN(TestMarketComparisonWindow)
#include "tst_marketcomparisonwindow.moc"
