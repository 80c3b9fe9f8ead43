#include "storage/schemaupgrade.h"

#include <QSet>
#include <QSqlQuery>

namespace kalvado {

namespace {

QStringList ColumnsOfArchive(const QSqlDatabase &db) {
    QStringList names;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(KD)"))) return names;
    while (q.next())
        names << q.value(1).toString();
    return names;
}

// "type name" of every table and index the file has.
QSet<QString> SchemaObjects(const QSqlDatabase &db) {
    QSet<QString> objects;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT type, name FROM sqlite_master"))) return objects;
    while (q.next())
        objects.insert(q.value(0).toString() + u' ' + q.value(1).toString());
    return objects;
}

QList<const SchemaObject *> MissingHistory(const QSqlDatabase &db) {
    const QSet<QString> present = SchemaObjects(db);
    QList<const SchemaObject *> missing;
    for (const SchemaObject &o : HistorySchema())
        if (!present.contains(o.type + u' ' + o.name)) missing << &o;
    return missing;
}

} // namespace

QStringList ArchiveOddsColumns() {
    return {QStringLiteral("k1"), QStringLiteral("kX"), QStringLiteral("k2"), QStringLiteral("Created")};
}

bool HasArchiveOddsColumns(const QSqlDatabase &db) {
    const QStringList present = ColumnsOfArchive(db);
    for (const QString &c : ArchiveOddsColumns())
        if (!present.contains(c, Qt::CaseInsensitive)) return false;
    return true;
}

// The same tables as data/schema.sql; a test keeps the two alike.
const QList<SchemaObject> &HistorySchema() {
    static const QList<SchemaObject> objects{
        {QStringLiteral("table"), QStringLiteral("Matches"),
         QStringLiteral(
             "CREATE TABLE Matches (League TEXT, Season TEXT, Date TEXT, Time TEXT, Home TEXT, "
             "Away TEXT, HomeGoals INTEGER, AwayGoals INTEGER, OddsH TEXT, OddsD TEXT, OddsA TEXT, "
             "OddsFrom TEXT)")},
        {QStringLiteral("index"), QStringLiteral("MatchesByMatch"),
         QStringLiteral("CREATE UNIQUE INDEX MatchesByMatch ON Matches (League, Date, Home, Away)")},
        {QStringLiteral("index"), QStringLiteral("MatchesByHome"),
         QStringLiteral("CREATE INDEX MatchesByHome ON Matches (Home, Date)")},
        {QStringLiteral("index"), QStringLiteral("MatchesByAway"),
         QStringLiteral("CREATE INDEX MatchesByAway ON Matches (Away, Date)")},
        {QStringLiteral("index"), QStringLiteral("MatchesBySeason"),
         QStringLiteral("CREATE INDEX MatchesBySeason ON Matches (League, Season, Date)")},
        {QStringLiteral("index"), QStringLiteral("MatchesByDate"),
         QStringLiteral("CREATE INDEX MatchesByDate ON Matches (Date)")},
        {QStringLiteral("table"), QStringLiteral("Leagues"),
         QStringLiteral("CREATE TABLE Leagues (Code TEXT PRIMARY KEY, Name TEXT)")},
        {QStringLiteral("table"), QStringLiteral("ClubLinks"),
         QStringLiteral("CREATE TABLE ClubLinks (Name TEXT PRIMARY KEY, Tim TEXT)")},
    };
    return objects;
}

bool HasHistoryTables(const QSqlDatabase &db) {
    return MissingHistory(db).isEmpty();
}

const QList<QPair<QString, QString>> &DefaultClubLinks() {
    static const QList<QPair<QString, QString>> links{
        {QStringLiteral("Arsenal"), QStringLiteral("Арсенал")},
        {QStringLiteral("Ajax"), QStringLiteral("Аякс")},
        {QStringLiteral("Bayern Munich"), QStringLiteral("Байерн М")},
        {QStringLiteral("Barcelona"), QStringLiteral("Барселона")},
        {QStringLiteral("Inter"), QStringLiteral("Интер")},
        {QStringLiteral("Liverpool"), QStringLiteral("Ливърпул")},
        {QStringLiteral("Man United"), QStringLiteral("Ман Юн")},
        {QStringLiteral("Milan"), QStringLiteral("Милан")},
        {QStringLiteral("Real Madrid"), QStringLiteral("Реал М")},
        {QStringLiteral("Juventus"), QStringLiteral("Ювентус")},
        {QStringLiteral("Ath Bilbao"), QStringLiteral("Атл Билбао")},
        {QStringLiteral("Ath Madrid"), QStringLiteral("Атл Мадрид")},
        {QStringLiteral("Valencia"), QStringLiteral("Валенсия")},
        {QStringLiteral("Dortmund"), QStringLiteral("Дортмунд")},
        {QStringLiteral("La Coruna"), QStringLiteral("Ла Коруня")},
        {QStringLiteral("Lazio"), QStringLiteral("Лацио")},
        {QStringLiteral("Leverkusen"), QStringLiteral("Леверкузен")},
        {QStringLiteral("Marseille"), QStringLiteral("Марсилия")},
        {QStringLiteral("Monaco"), QStringLiteral("Монако")},
        {QStringLiteral("Newcastle"), QStringLiteral("Нюкясъл")},
        {QStringLiteral("Paris SG"), QStringLiteral("Пари СЖ")},
        {QStringLiteral("Parma"), QStringLiteral("Парма")},
        {QStringLiteral("PSV Eindhoven"), QStringLiteral("ПСВ Айндховен")},
        {QStringLiteral("Rangers"), QStringLiteral("Рейнджърс")},
        {QStringLiteral("Roma"), QStringLiteral("Рома")},
        {QStringLiteral("Udinese"), QStringLiteral("Удинезе")},
        {QStringLiteral("Feyenoord"), QStringLiteral("Фейенорд")},
        {QStringLiteral("Chelsea"), QStringLiteral("Челси")},
        {QStringLiteral("Schalke 04"), QStringLiteral("Шалке 04")},
        {QStringLiteral("Stuttgart"), QStringLiteral("Щутгарт")},
        // The rest of the starter clubs (data/clubs.txt) that play in a
        // league the site covers.
        {QStringLiteral("Charlton"), QStringLiteral("Чарлтън")},
        {QStringLiteral("Middlesbrough"), QStringLiteral("Мидълзбро")},
        {QStringLiteral("Crystal Palace"), QStringLiteral("Кристъл П")},
        {QStringLiteral("Leicester"), QStringLiteral("Лестър")},
        {QStringLiteral("Everton"), QStringLiteral("Евертън")},
        {QStringLiteral("Leeds"), QStringLiteral("Лийдс")},
        {QStringLiteral("Munich 1860"), QStringLiteral("1860 Мюнхен")},
        {QStringLiteral("Celtic"), QStringLiteral("Селтик")},
        {QStringLiteral("Betis"), QStringLiteral("Бетис")},
    };
    return links;
}

bool UpgradeSchema(const QSqlDatabase &db) {
    const QStringList present = ColumnsOfArchive(db);
    if (present.isEmpty()) return false;
    QStringList missing;
    for (const QString &c : ArchiveOddsColumns())
        if (!present.contains(c, Qt::CaseInsensitive)) missing << c;
    const QList<const SchemaObject *> history = MissingHistory(db);
    if (missing.isEmpty() && history.isEmpty()) return true;
    // Adding a column rewrites only the table's definition, not its rows, and
    // the history's tables start empty, so the cost does not grow with the
    // archive.
    QSqlDatabase conn = db;
    if (!conn.transaction()) return false;
    QSqlQuery q(conn);
    const auto fail = [&conn] {
        conn.rollback();
        return false;
    };
    for (const QString &c : missing)
        if (!q.exec(QStringLiteral("ALTER TABLE KD ADD COLUMN %1 TEXT").arg(c))) return fail();
    bool linksMade = false;
    for (const SchemaObject *o : history) {
        if (!q.exec(o->sql)) return fail();
        linksMade = linksMade || o->name == QLatin1String("ClubLinks");
    }
    if (linksMade) {
        q.prepare(QStringLiteral("INSERT INTO ClubLinks (Name, Tim) VALUES (?, ?)"));
        for (const auto &[name, tim] : DefaultClubLinks()) {
            q.addBindValue(name);
            q.addBindValue(tim);
            if (!q.exec()) return fail();
        }
    }
    if (!conn.commit()) return fail();
    return true;
}

} // namespace kalvado
