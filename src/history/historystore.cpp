#include "history/historystore.h"

#include "history/historyfill.h"

#include "history/leagues.h"
#include "storage/database.h"
#include "storage/fastscan.h"

#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kalvado {

namespace {

QSqlDatabase Connection(const QString &name) {
    return QSqlDatabase::database(name, false);
}

// NULL for an empty text, so that "no time" and "no odds" read back as NULL.
QVariant TextOrNull(const QString &text) {
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

QVariant GoalsOrNull(const std::optional<int> &goals) {
    return goals ? QVariant(*goals) : QVariant(QMetaType(QMetaType::Int));
}

QString DateText(const QDate &d) {
    return d.toString(Qt::ISODate);
}

// The columns MatchRow is read from, in ReadRow's order.
const QString kRowColumns = QStringLiteral(
    "League, Season, Date, Time, Home, Away, HomeGoals, AwayGoals, OddsH, OddsD, OddsA, OddsFrom");

MatchRow ReadRow(const QSqlQuery &q, int first = 0) {
    MatchRow r;
    r.league = q.value(first).toString();
    r.season = q.value(first + 1).toString();
    r.date = QDate::fromString(q.value(first + 2).toString(), Qt::ISODate);
    r.time = q.value(first + 3).toString();
    r.home = q.value(first + 4).toString();
    r.away = q.value(first + 5).toString();
    const QVariant hg = q.value(first + 6);
    const QVariant ag = q.value(first + 7);
    if (!hg.isNull() && !ag.isNull()) {
        r.homeGoals = hg.toInt();
        r.awayGoals = ag.toInt();
    }
    r.oddsH = q.value(first + 8).toString();
    r.oddsD = q.value(first + 9).toString();
    r.oddsA = q.value(first + 10).toString();
    r.oddsFrom = q.value(first + 11).toString();
    return r;
}

// "yyyy-mm-dd" as stored; anything else is an invalid date.
QDate DateFromUtf8(QByteArrayView v) {
    if (v.size() != 10 || v.at(4) != '-' || v.at(7) != '-') return {};
    const auto number = [&v](int from, int length) {
        int n = 0;
        for (int i = from; i < from + length; ++i) {
            if (v.at(i) < '0' || v.at(i) > '9') return -1;
            n = n * 10 + (v.at(i) - '0');
        }
        return n;
    };
    return QDate(number(0, 4), number(5, 2), number(8, 2));
}

// One QString for each distinct value: a history repeats its clubs,
// leagues, seasons and odds thousands of times, so reading shares them
// rather than decoding and allocating each again.
class TextPool final {
public:
    const QString &Get(QByteArrayView bytes) {
        const std::string_view key(bytes.data(), size_t(bytes.size()));
        if (const auto it = m_texts.find(key); it != m_texts.end()) return it->second;
        // A deque never moves its elements, so the key stays valid.
        const std::string &held = m_keys.emplace_back(key);
        return m_texts.emplace(std::string_view(held), Utf8Text(bytes.data(), bytes.size())).first->second;
    }

private:
    std::deque<std::string> m_keys;
    std::unordered_map<std::string_view, QString> m_texts;
};

// ReadRow for a row of the direct route (NULL reads as empty).
MatchRow RowFromUtf8(const QByteArrayView *v, TextPool &pool) {
    MatchRow r;
    r.league = pool.Get(v[0]);
    r.season = pool.Get(v[1]);
    r.date = DateFromUtf8(v[2]);
    r.time = pool.Get(v[3]);
    r.home = pool.Get(v[4]);
    r.away = pool.Get(v[5]);
    if (!v[6].isEmpty() && !v[7].isEmpty()) {
        r.homeGoals = v[6].toByteArray().toInt();
        r.awayGoals = v[7].toByteArray().toInt();
    }
    r.oddsH = pool.Get(v[8]);
    r.oddsD = pool.Get(v[9]);
    r.oddsA = pool.Get(v[10]);
    r.oddsFrom = pool.Get(v[11]);
    return r;
}

QList<MatchRow> ReadRows(QSqlQuery &q) {
    QList<MatchRow> rows;
    while (q.next())
        rows << ReadRow(q);
    return rows;
}

bool HasOdds(const MatchRow &r) {
    return !r.oddsH.isEmpty() && !r.oddsD.isEmpty() && !r.oddsA.isEmpty();
}

// The held match as the file leaves it: the file's goals, odds and time
// where it has them, the held ones elsewhere.
MatchRow Merged(const MatchRow &held, const MatchRow &file) {
    MatchRow m = held;
    if (file.played()) {
        m.homeGoals = file.homeGoals;
        m.awayGoals = file.awayGoals;
    }
    if (HasOdds(file)) {
        m.oddsH = file.oddsH;
        m.oddsD = file.oddsD;
        m.oddsA = file.oddsA;
        m.oddsFrom = file.oddsFrom;
    }
    if (!file.time.isEmpty()) m.time = file.time;
    return m;
}

bool SameStored(const MatchRow &a, const MatchRow &b) {
    return a.homeGoals == b.homeGoals && a.awayGoals == b.awayGoals && a.time == b.time &&
           a.oddsH == b.oddsH && a.oddsD == b.oddsD && a.oddsA == b.oddsA && a.oddsFrom == b.oddsFrom;
}

QString Key(const QString &league, const QString &date, const QString &home, const QString &away) {
    // U+0001 never occurs in a name the reader gives.
    return league + QChar(1) + date + QChar(1) + home + QChar(1) + away;
}

// How good a league's name is: the program's own, the file's, the bare code.
int NameRank(const QString &code, const QString &name) {
    if (name.isEmpty() || name == code) return 0;
    const QString known = KnownLeagueName(code);
    return !known.isEmpty() && name == known ? 2 : 1;
}

// One write transaction: the first failure rolls it back and keeps the
// database's message; what follows it is skipped.
class Writer final {
public:
    explicit Writer(QString connection)
        : m_connection(std::move(connection)), m_db(Connection(m_connection)) {
        if (!m_db.isOpen())
            Fail(QSqlError());
        else if (!m_db.transaction())
            Fail(m_db.lastError());
        else
            m_inTransaction = true;
    }
    ~Writer() {
        if (m_inTransaction) m_db.rollback();
    }
    Q_DISABLE_COPY_MOVE(Writer)

    bool ok() const { return m_error.isEmpty(); }

    QSqlQuery Prepared(const QString &sql) {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        if (ok() && !q.prepare(sql)) Fail(q.lastError());
        return q;
    }
    bool Exec(QSqlQuery &q) {
        if (ok() && !q.exec()) Fail(q.lastError());
        return ok();
    }
    // Empty on success, else the database message.
    QString Commit() {
        if (ok() && !m_db.commit()) Fail(m_db.lastError());
        m_inTransaction = false;
        return m_error;
    }

private:
    void Fail(const QSqlError &e) {
        if (!ok()) return;
        m_error = Database::writeFailureText(m_connection, e);
        if (m_inTransaction) m_db.rollback();
        m_inTransaction = false;
    }

    QString m_connection;
    QSqlDatabase m_db;
    QString m_error;
    bool m_inTransaction = false;
};

// A read; a failure (a file without the history, a locked file) reads as no
// rows.
QSqlQuery Select(const QString &connection, const QString &sql, const QVariantList &values = {}) {
    QSqlQuery q(Connection(connection));
    q.setForwardOnly(true);
    if (!q.prepare(sql)) return q;
    for (const QVariant &v : values)
        q.addBindValue(v);
    q.exec();
    return q;
}

// Stores one read file within w's transaction.
void ImportInto(Writer &w, const MatchFile &file, ImportSummary &s) {
    s.leftOut = file.leftOut;
    s.firstLeftOut = file.firstLeftOut;

    // A row nothing could find again is left out like an unreadable one.
    QList<const MatchRow *> rows;
    QSet<QString> leagues;
    for (const MatchRow &r : file.rows) {
        if (!r.date.isValid() || r.home.isEmpty() || r.away.isEmpty() || r.league.isEmpty() ||
            r.homeGoals.has_value() != r.awayGoals.has_value()) {
            ++s.leftOut;
            continue;
        }
        rows << &r;
        leagues.insert(r.league);
        if (!r.played()) ++s.notPlayed;
    }

    // A fixtures list replaces the coming matches of its leagues. The ones it
    // lists again are kept in memory, so that they count as neither added nor
    // updated when unchanged, and keep what the list lacks.
    QHash<QString, MatchRow> replaced;
    if (file.kind == MatchFileKind::Fixtures) {
        QSqlQuery held = w.Prepared(
            QStringLiteral("SELECT %1 FROM Matches WHERE League = ? AND HomeGoals IS NULL").arg(kRowColumns));
        QSqlQuery remove =
            w.Prepared(QStringLiteral("DELETE FROM Matches WHERE League = ? AND HomeGoals IS NULL"));
        for (const QString &league : leagues) {
            held.addBindValue(league);
            if (!w.Exec(held)) break;
            while (held.next()) {
                const MatchRow r = ReadRow(held);
                replaced.insert(Key(r.league, DateText(r.date), r.home, r.away), r);
            }
            held.finish();
            remove.addBindValue(league);
            if (!w.Exec(remove)) break;
        }
    }

    // The held matches the file could meet, read a league at a time over the
    // file's dates rather than looked up row by row.
    struct Held {
        qlonglong rowid = 0;
        MatchRow row;
    };
    QHash<QString, Held> held;
    {
        QHash<QString, QPair<QDate, QDate>> spans;
        for (const MatchRow *r : std::as_const(rows)) {
            auto it = spans.find(r->league);
            if (it == spans.end())
                spans.insert(r->league, {r->date, r->date});
            else
                *it = {std::min(it->first, r->date), std::max(it->second, r->date)};
        }
        QSqlQuery find = w.Prepared(
            QStringLiteral("SELECT rowid, %1 FROM Matches WHERE League = ? AND Date >= ? AND Date <= ?")
                .arg(kRowColumns));
        for (auto it = spans.cbegin(); it != spans.cend() && w.ok(); ++it) {
            find.addBindValue(it.key());
            find.addBindValue(DateText(it->first));
            find.addBindValue(DateText(it->second));
            if (!w.Exec(find)) break;
            while (find.next()) {
                Held h{find.value(0).toLongLong(), ReadRow(find, 1)};
                held.insert(Key(h.row.league, DateText(h.row.date), h.row.home, h.row.away), h);
            }
            find.finish();
        }
    }

    QSqlQuery insert = w.Prepared(QStringLiteral(
        "INSERT INTO Matches (League, Season, Date, Home, Away, Time, HomeGoals, AwayGoals, OddsH, "
        "OddsD, OddsA, OddsFrom) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    QSqlQuery update = w.Prepared(QStringLiteral(
        "UPDATE Matches SET Time = ?, HomeGoals = ?, AwayGoals = ?, OddsH = ?, OddsD = ?, OddsA = ?, "
        "OddsFrom = ? WHERE rowid = ?"));
    const auto bindStored = [](QSqlQuery &q, const MatchRow &m) {
        q.addBindValue(TextOrNull(m.time));
        q.addBindValue(GoalsOrNull(m.homeGoals));
        q.addBindValue(GoalsOrNull(m.awayGoals));
        const bool odds = HasOdds(m);
        q.addBindValue(TextOrNull(odds ? m.oddsH : QString()));
        q.addBindValue(TextOrNull(odds ? m.oddsD : QString()));
        q.addBindValue(TextOrNull(odds ? m.oddsA : QString()));
        q.addBindValue(TextOrNull(odds ? m.oddsFrom : QString()));
    };
    for (const MatchRow *r : std::as_const(rows)) {
        if (!w.ok()) break;
        const MatchRow &row = *r;
        const QString date = DateText(row.date);
        const QString key = Key(row.league, date, row.home, row.away);
        if (const auto it = held.find(key); it != held.end()) {
            const MatchRow merged = Merged(it->row, row);
            if (SameStored(it->row, merged)) continue;
            bindStored(update, merged);
            update.addBindValue(it->rowid);
            if (!w.Exec(update)) break;
            it->row = merged;
            ++s.updated;
            continue;
        }
        MatchRow stored = row;
        if (const auto it = replaced.constFind(key); it != replaced.cend()) {
            stored = Merged(*it, row);
            if (!SameStored(*it, stored)) ++s.updated;
            replaced.erase(it);
        } else {
            ++s.added;
        }
        insert.addBindValue(stored.league);
        insert.addBindValue(stored.season);
        insert.addBindValue(date);
        insert.addBindValue(stored.home);
        insert.addBindValue(stored.away);
        bindStored(insert, stored);
        if (!w.Exec(insert)) break;
        // A file that lists a match twice updates it the second time.
        held.insert(key, {insert.lastInsertId().toLongLong(), stored});
    }

    if (w.ok()) {
        QHash<QString, QString> fileNames;
        for (const auto &[code, name] : file.leagueNames)
            fileNames.insert(code, name.trimmed());
        QSqlQuery current = w.Prepared(QStringLiteral("SELECT Name FROM Leagues WHERE Code = ?"));
        QSqlQuery upsert = w.Prepared(QStringLiteral("INSERT INTO Leagues (Code, Name) VALUES (?, ?) ON "
                                                     "CONFLICT (Code) DO UPDATE SET Name = excluded.Name"));
        for (const QString &code : leagues) {
            QString name = KnownLeagueName(code);
            if (name.isEmpty()) name = fileNames.value(code);
            if (name.isEmpty()) name = code;
            current.addBindValue(code);
            if (!w.Exec(current)) break;
            const bool held = current.next();
            const QString heldName = held ? current.value(0).toString() : QString();
            current.finish();
            if (held && NameRank(code, heldName) >= NameRank(code, name)) continue;
            upsert.addBindValue(code);
            upsert.addBindValue(name);
            if (!w.Exec(upsert)) break;
        }
    }
}

} // namespace

HistoryStore::HistoryStore(QString connectionName) : m_connection(std::move(connectionName)) {}

ImportSummary HistoryStore::Import(const MatchFile &file) {
    return Import(QList<MatchFile>{file}).constFirst();
}

QList<ImportSummary> HistoryStore::Import(const QList<MatchFile> &files) {
    QList<ImportSummary> summaries;
    Writer w(m_connection);
    for (const MatchFile &file : files) {
        ImportSummary s;
        s.fileName = file.fileName;
        if (file.error.isEmpty())
            ImportInto(w, file, s);
        else
            s.error = file.error;
        summaries << s;
    }
    if (const QString error = w.Commit(); !error.isEmpty()) {
        for (ImportSummary &s : summaries) {
            if (!s.error.isEmpty()) continue;
            s.error = error;
            s.added = s.updated = 0;
        }
    }
    return summaries;
}

QList<LeagueSummary> HistoryStore::Leagues() const {
    struct Season {
        QString name;
        QString first;
    };
    struct Gathered {
        QList<Season> seasons;
        int matches = 0;
        QString last;
    };
    // One pass over the season index; a league's seasons are few.
    std::map<QString, Gathered> byCode;
    QSqlQuery q = Select(m_connection, QStringLiteral("SELECT League, Season, min(Date), count(*), "
                                                      "max(CASE WHEN HomeGoals IS NOT NULL THEN Date END) "
                                                      "FROM Matches GROUP BY League, Season"));
    while (q.next()) {
        Gathered &g = byCode[q.value(0).toString()];
        g.seasons.append({q.value(1).toString(), q.value(2).toString()});
        g.matches += q.value(3).toInt();
        g.last = std::max(g.last, q.value(4).toString());
    }
    QHash<QString, QString> names;
    QSqlQuery n = Select(m_connection, QStringLiteral("SELECT Code, Name FROM Leagues"));
    while (n.next())
        names.insert(n.value(0).toString(), n.value(1).toString());

    QList<LeagueSummary> result;
    for (auto &[code, g] : byCode) {
        std::stable_sort(g.seasons.begin(), g.seasons.end(),
                         [](const Season &a, const Season &b) { return a.first < b.first; });
        LeagueSummary l;
        l.code = code;
        l.name = names.value(code);
        if (l.name.isEmpty()) l.name = LeagueName(code);
        for (const Season &season : std::as_const(g.seasons))
            l.seasons << season.name;
        l.matches = g.matches;
        l.lastDate = QDate::fromString(g.last, Qt::ISODate);
        result << l;
    }
    // The site's leagues in the site's order, then the others by code.
    const auto rank = [](const QString &code) {
        const QList<SiteLeague> &site = SiteLeagues();
        for (int i = 0; i < site.size(); ++i)
            if (site.at(i).code == code) return i;
        return int(site.size());
    };
    std::stable_sort(result.begin(), result.end(), [&rank](const LeagueSummary &a, const LeagueSummary &b) {
        return rank(a.code) < rank(b.code);
    });
    return result;
}

QString HistoryStore::DeleteLeague(const QString &code) {
    Writer w(m_connection);
    QSqlQuery matches = w.Prepared(QStringLiteral("DELETE FROM Matches WHERE League = ?"));
    matches.addBindValue(code);
    w.Exec(matches);
    QSqlQuery league = w.Prepared(QStringLiteral("DELETE FROM Leagues WHERE Code = ?"));
    league.addBindValue(code);
    w.Exec(league);
    return w.Commit();
}

QList<ClubLink> HistoryStore::Links() const {
    QList<ClubLink> links;
    QSqlQuery q =
        Select(m_connection,
               QStringLiteral("SELECT c.Name, l.Tim FROM (SELECT Home AS Name FROM Matches UNION "
                              "SELECT Away FROM Matches) AS c LEFT JOIN ClubLinks AS l ON l.Name = c.Name"));
    while (q.next())
        links.append({q.value(0).toString(), q.value(1).toString()});
    // QString's order, whatever collation the file has.
    std::sort(links.begin(), links.end(),
              [](const ClubLink &a, const ClubLink &b) { return a.name < b.name; });
    return links;
}

QString HistoryStore::SetLink(const QString &name, const QString &tim) {
    const QString user = tim.trimmed();
    if (name.isEmpty()) return {};
    Writer w(m_connection);
    QSqlQuery q =
        w.Prepared(user.isEmpty() ? QStringLiteral("DELETE FROM ClubLinks WHERE Name = ?")
                                  : QStringLiteral("INSERT INTO ClubLinks (Name, Tim) VALUES (?, ?) "
                                                   "ON CONFLICT (Name) DO UPDATE SET Tim = excluded.Tim"));
    q.addBindValue(name);
    if (!user.isEmpty()) q.addBindValue(user);
    w.Exec(q);
    return w.Commit();
}

std::optional<QString> HistoryStore::HistoryClubFor(const QString &userName) const {
    const QString user = userName.trimmed();
    if (user.isEmpty()) return std::nullopt;
    // SQLite folds only ASCII letters, so the comparison is made here.
    std::optional<QString> folded;
    QSqlQuery links = Select(m_connection, QStringLiteral("SELECT Name, Tim FROM ClubLinks ORDER BY rowid"));
    while (links.next()) {
        const QString tim = links.value(1).toString();
        if (tim == user) return links.value(0).toString();
        if (!folded && tim.compare(user, Qt::CaseInsensitive) == 0) folded = links.value(0).toString();
    }
    if (folded) return folded;
    for (const QString &column : {QStringLiteral("Home"), QStringLiteral("Away")})
        if (Select(m_connection, QStringLiteral("SELECT 1 FROM Matches WHERE %1 = ? LIMIT 1").arg(column),
                   {user})
                .next())
            return user;
    return std::nullopt;
}

std::optional<QString> HistoryStore::LinkedName(const QString &historyName) const {
    QSqlQuery q =
        Select(m_connection, QStringLiteral("SELECT Tim FROM ClubLinks WHERE Name = ?"), {historyName});
    if (q.next() && !q.value(0).toString().isEmpty()) return q.value(0).toString();
    return std::nullopt;
}

std::optional<MatchRow> HistoryStore::NextMatch(const QString &home, const QString &away,
                                                const QDate &from) const {
    QSqlQuery q = Select(m_connection,
                         QStringLiteral("SELECT %1 FROM Matches WHERE Home = ? AND Date >= ? AND Away = ? "
                                        "AND HomeGoals IS NULL ORDER BY Date, rowid LIMIT 1")
                             .arg(kRowColumns),
                         {home, DateText(from), away});
    if (q.next()) return ReadRow(q);
    return std::nullopt;
}

std::optional<QString> HistoryStore::LatestLeague(const QString &club) const {
    // Played matches first: a fixture list can run ahead into another
    // competition's schedule.
    for (const QString &played : {QStringLiteral("AND HomeGoals IS NOT NULL"), QString()}) {
        QString best;
        QString league;
        for (const QString &column : {QStringLiteral("Home"), QStringLiteral("Away")}) {
            QSqlQuery q = Select(m_connection,
                                 QStringLiteral("SELECT League, Date FROM Matches WHERE %1 = ? %2 "
                                                "ORDER BY Date DESC, rowid DESC LIMIT 1")
                                     .arg(column, played),
                                 {club});
            if (q.next() && q.value(1).toString() > best) {
                best = q.value(1).toString();
                league = q.value(0).toString();
            }
        }
        if (!league.isEmpty()) return league;
    }
    return std::nullopt;
}

QString HistoryStore::LeagueName(const QString &code) const {
    QSqlQuery q = Select(m_connection, QStringLiteral("SELECT Name FROM Leagues WHERE Code = ?"), {code});
    if (q.next() && !q.value(0).toString().isEmpty()) return q.value(0).toString();
    const QString known = KnownLeagueName(code);
    return known.isEmpty() ? code : known;
}

QList<MatchRow> HistoryStore::MatchesForFill(const QString &home, const QString &away, const QString &league,
                                             const QDate &d) const {
    // The fill looks back ten years at most, and at the standings of one
    // season: the season of the league that started last on or before d.
    const QString from = YearsBefore(d, 10).toString(Qt::ISODate);
    const QString to = d.toString(Qt::ISODate);
    QSqlQuery season = Select(m_connection,
                              QStringLiteral("SELECT Season FROM Matches WHERE League = ? GROUP BY Season "
                                             "HAVING MIN(Date) <= ? ORDER BY MIN(Date) DESC LIMIT 1"),
                              {league, to});
    const QVariant seasonName = season.next() ? season.value(0) : QVariant();
    // Each branch runs on its own index; the union drops the repeats.
    QSqlQuery q =
        Select(m_connection,
               QStringLiteral("SELECT %1 FROM Matches WHERE rowid IN ("
                              "SELECT rowid FROM Matches WHERE Home = ? AND Date BETWEEN ? AND ? UNION "
                              "SELECT rowid FROM Matches WHERE Home = ? AND Date BETWEEN ? AND ? UNION "
                              "SELECT rowid FROM Matches WHERE Away = ? AND Date BETWEEN ? AND ? UNION "
                              "SELECT rowid FROM Matches WHERE Away = ? AND Date BETWEEN ? AND ? UNION "
                              "SELECT rowid FROM Matches WHERE League = ? AND Season = ? AND Date <= ?) "
                              "ORDER BY Date, rowid")
                   .arg(kRowColumns),
               {home, from, to, away, from, to, home, from, to, away, from, to, league, seasonName, to});
    return ReadRows(q);
}

QList<MatchRow> HistoryStore::AllMatches() const {
    const QString sql = QStringLiteral("SELECT %1 FROM Matches ORDER BY Date, rowid").arg(kRowColumns);
    // Every match for the replay: the driver's per-row cost would dominate.
    QList<MatchRow> rows;
    if (QSqlQuery count = Select(m_connection, QStringLiteral("SELECT count(*) FROM Matches")); count.next())
        rows.reserve(count.value(0).toInt());
    TextPool pool;
    if (FastScanUtf8(Connection(m_connection), sql, 12, [&rows, &pool](const QByteArrayView *v) {
            rows << RowFromUtf8(v, pool);
            return true;
        }))
        return rows;
    QSqlQuery q = Select(m_connection, sql);
    return ReadRows(q);
}

} // namespace kalvado
