#include "history/matchfile.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <climits>
#include <limits>
#include <vector>

namespace kalvado {

namespace {

// Windows-1252 at 0x80..0x9F; the five unassigned bytes keep their C1 code.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString FromCp1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : char16_t(b);
    }
    return text;
}

// UTF-8 when the bytes are valid UTF-8, else Windows-1252. A character cut
// off by the end of a truncated download does not turn the file into 1252.
QString DecodeText(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    return FromCp1252(bytes);
}

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// RFC 4180 records over the decoded text: quotes doubled inside quoted
// fields, which may hold commas and line breaks. Only the first `maxFields`
// fields are kept; the rest are scanned past. Unquoted cells are views into
// the text, so a row costs no allocation unless it has quoted cells.
class CsvReader final {
public:
    explicit CsvReader(QStringView text) : m_text(text) {}

    // False at the end of the text. `blank`: the record holds nothing but
    // commas, quotes and blanks.
    bool Next(qsizetype maxFields) {
        if (m_pos >= m_text.size()) return false;
        m_fields.clear();
        m_unquoted.clear();
        m_line = m_nextLine;
        m_blank = true;
        const qsizetype n = m_text.size();
        for (;;) {
            qsizetype start = m_pos;
            while (m_pos < n && IsBlank(m_text[m_pos]))
                ++m_pos;
            if (m_pos < n && m_text[m_pos] == u'"') {
                ReadQuoted(m_fields.size() < size_t(maxFields));
            } else {
                while (m_pos < n) {
                    const QChar c = m_text[m_pos];
                    if (c == u',' || c == u'\n' || c == u'\r') break;
                    if (!IsBlank(c)) m_blank = false;
                    ++m_pos;
                }
                if (m_fields.size() < size_t(maxFields))
                    m_fields.push_back(m_text.sliced(start, m_pos - start).trimmed());
            }
            if (m_pos < n && m_text[m_pos] == u',') {
                ++m_pos;
                continue;
            }
            if (m_pos < n && m_text[m_pos] == u'\r') ++m_pos;
            if (m_pos < n && m_text[m_pos] == u'\n') ++m_pos;
            ++m_nextLine;
            return true;
        }
    }

    int Line() const { return m_line; }
    bool Blank() const { return m_blank; }
    qsizetype Size() const { return qsizetype(m_fields.size()); }
    QStringView Cell(int index) const {
        return index >= 0 && size_t(index) < m_fields.size() ? m_fields[index] : QStringView();
    }

private:
    void ReadQuoted(bool keep) {
        const qsizetype n = m_text.size();
        QString value;
        ++m_pos; // the opening quote
        qsizetype segment = m_pos;
        while (m_pos < n) {
            const QChar c = m_text[m_pos];
            if (c == u'"') {
                if (keep) value += m_text.sliced(segment, m_pos - segment);
                if (m_pos + 1 < n && m_text[m_pos + 1] == u'"') {
                    if (keep) value += u'"';
                    m_blank = false;
                    m_pos += 2;
                    segment = m_pos;
                    continue;
                }
                ++m_pos;
                segment = -1;
                break;
            }
            if (c == u'\n' || (c == u'\r' && (m_pos + 1 >= n || m_text[m_pos + 1] != u'\n'))) ++m_nextLine;
            if (!c.isSpace()) m_blank = false;
            ++m_pos;
        }
        if (segment >= 0 && keep) value += m_text.sliced(segment, m_pos - segment); // never closed
        // Anything between the closing quote and the comma stays with the cell.
        const qsizetype rest = m_pos;
        while (m_pos < n && m_text[m_pos] != u',' && m_text[m_pos] != u'\n' && m_text[m_pos] != u'\r') {
            if (!IsBlank(m_text[m_pos])) m_blank = false;
            ++m_pos;
        }
        if (!keep) return;
        value += m_text.sliced(rest, m_pos - rest);
        // A QString's characters do not move when the QString itself moves.
        m_unquoted.push_back(std::move(value));
        m_fields.push_back(QStringView(m_unquoted.back()).trimmed());
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    int m_nextLine = 1;
    int m_line = 1;
    bool m_blank = true;
    std::vector<QStringView> m_fields;
    std::vector<QString> m_unquoted;
};

bool AllDigits(QStringView s) {
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

int SmallNumber(QStringView digits) {
    int value = 0;
    for (const QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

// dd/mm/yy (below 50: 20yy) or dd/mm/yyyy.
QDate ReadDate(QStringView text) {
    const qsizetype first = text.indexOf(u'/');
    const qsizetype second = first < 0 ? -1 : text.indexOf(u'/', first + 1);
    if (second < 0) return {};
    const QStringView day = text.first(first);
    const QStringView month = text.sliced(first + 1, second - first - 1);
    const QStringView year = text.sliced(second + 1);
    if (!AllDigits(day) || !AllDigits(month) || !AllDigits(year) || day.size() > 2 || month.size() > 2 ||
        (year.size() != 2 && year.size() != 4))
        return {};
    int y = SmallNumber(year);
    if (year.size() == 2) y += y < 50 ? 2000 : 1900;
    return QDate(y, SmallNumber(month), SmallNumber(day));
}

// A whole number of goals: "2", and "2.0" as the older files write it.
std::optional<int> ReadGoals(QStringView text) {
    const qsizetype point = text.indexOf(u'.');
    QStringView whole = text;
    if (point >= 0) {
        const QStringView fraction = text.sliced(point + 1);
        if (!AllDigits(fraction) || fraction.count(u'0') != fraction.size()) return std::nullopt;
        whole = text.first(point);
    }
    if (!AllDigits(whole)) return std::nullopt;
    qint64 value = 0;
    for (const QChar c : whole) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > INT_MAX) return std::nullopt;
    }
    return int(value);
}

// Odds count from 1.01, point or comma as the decimal sign; compared on the
// digits so that "1.01" is never lost to rounding.
bool UsableOdds(QStringView text) {
    qsizetype sign = text.indexOf(u'.');
    if (sign < 0) sign = text.indexOf(u',');
    QStringView whole = sign < 0 ? text : text.first(sign);
    const QStringView fraction = sign < 0 ? QStringView() : text.sliced(sign + 1);
    if (!AllDigits(whole) || (sign >= 0 && !AllDigits(fraction))) return false;
    while (whole.size() > 1 && whole.front() == u'0')
        whole = whole.sliced(1);
    if (whole.size() > 1 || whole.front() > u'1') return true;
    if (whole.front() == u'0') return false;
    // One and a fraction: at least one hundredth.
    return fraction.size() >= 2 ? (fraction[0] > u'0' || fraction[1] > u'0')
                                : (!fraction.isEmpty() && fraction[0] > u'0');
}

struct OddsColumns {
    QString prefix;
    int home = -1;
    int draw = -1;
    int away = -1;
};

struct Layout {
    int div = -1, country = -1, league = -1, season = -1;
    int date = -1, time = -1, home = -1, away = -1, homeGoals = -1, awayGoals = -1;
    QList<OddsColumns> odds;
};

const QStringList kMainColumns = {QStringLiteral("Div"),      QStringLiteral("Date"),
                                  QStringLiteral("HomeTeam"), QStringLiteral("AwayTeam"),
                                  QStringLiteral("FTHG"),     QStringLiteral("FTAG")};
const QStringList kExtraColumns = {
    QStringLiteral("Country"), QStringLiteral("League"), QStringLiteral("Season"), QStringLiteral("Date"),
    QStringLiteral("Home"),    QStringLiteral("Away"),   QStringLiteral("HG"),     QStringLiteral("AG")};

QString Tr(const char *utf8) {
    return QString::fromUtf8(utf8);
}

// Keeps one copy of a text that repeats row after row (league, season, time).
const QString &Shared(QString &last, QStringView text) {
    if (last != text) last = text.toString();
    return last;
}

} // namespace

QString SeasonOf(const QDate &date) {
    if (!date.isValid()) return {};
    const int start = date.month() >= 7 ? date.year() : date.year() - 1;
    return QStringLiteral("%1/%2").arg(start).arg((start + 1) % 100, 2, 10, QLatin1Char('0'));
}

MatchFile ReadMatchFile(const QByteArray &bytes, const QString &fileName, const QString &extraCode) {
    MatchFile file;
    file.fileName = fileName;
    if (bytes.size() > kMaxMatchFileBytes) {
        file.error = Tr("Файлът „%1“ е по-голям от 64 MB.").arg(fileName);
        return file;
    }

    const QString text = DecodeText(bytes);
    CsvReader csv(text);
    QStringList header;
    while (csv.Next(std::numeric_limits<qsizetype>::max())) {
        if (csv.Blank()) continue;
        for (qsizetype i = 0; i < csv.Size(); ++i)
            header << csv.Cell(int(i)).toString();
        break;
    }
    const auto column = [&header](const QString &name) { return int(header.indexOf(name)); };

    Layout at;
    at.date = column(QStringLiteral("Date"));
    at.time = column(QStringLiteral("Time"));
    at.div = column(QStringLiteral("Div"));
    at.home = column(QStringLiteral("HomeTeam"));
    if (at.home < 0) at.home = column(QStringLiteral("HT"));
    at.away = column(QStringLiteral("AwayTeam"));
    if (at.away < 0) at.away = column(QStringLiteral("AT"));
    const int fthg = column(QStringLiteral("FTHG"));
    const int ftag = column(QStringLiteral("FTAG"));
    const int mainPresent = int(at.div >= 0) + int(at.date >= 0) + int(at.home >= 0) + int(at.away >= 0);
    const auto extraPresent = std::count_if(kExtraColumns.begin(), kExtraColumns.end(),
                                            [&](const QString &name) { return column(name) >= 0; });

    QStringList prefixes;
    if (mainPresent == 4 && fthg >= 0 && ftag >= 0) {
        file.kind = MatchFileKind::Main;
        at.homeGoals = fthg;
        at.awayGoals = ftag;
    } else if (extraPresent == kExtraColumns.size()) {
        file.kind = MatchFileKind::Extra;
        at.country = column(QStringLiteral("Country"));
        at.league = column(QStringLiteral("League"));
        at.season = column(QStringLiteral("Season"));
        at.home = column(QStringLiteral("Home"));
        at.away = column(QStringLiteral("Away"));
        at.homeGoals = column(QStringLiteral("HG"));
        at.awayGoals = column(QStringLiteral("AG"));
        at.div = -1;
    } else if (mainPresent == 4 && fthg < 0 && ftag < 0) {
        file.kind = MatchFileKind::Fixtures;
    } else {
        // Name what the nearer of the two formats lacks.
        const bool extra = extraPresent > mainPresent + int(fthg >= 0) + int(ftag >= 0);
        QStringList missing;
        for (const QString &name : extra ? kExtraColumns : kMainColumns) {
            const bool alias = (name == u"HomeTeam" && at.home >= 0) || (name == u"AwayTeam" && at.away >= 0);
            if (column(name) < 0 && !alias) missing << name;
        }
        file.error = (missing.size() == 1 ? Tr("Файлът „%1“ не е файл с мачове: липсва колоната %2.")
                                          : Tr("Файлът „%1“ не е файл с мачове: липсват колоните %2."))
                         .arg(fileName, missing.join(QStringLiteral(", ")));
        return file;
    }

    if (file.kind == MatchFileKind::Extra)
        prefixes = {QStringLiteral("AvgC"), QStringLiteral("Avg"), QStringLiteral("B365C"),
                    QStringLiteral("B365"), QStringLiteral("PSC"), QStringLiteral("PS"),
                    QStringLiteral("MaxC"), QStringLiteral("Max")};
    else
        prefixes = {QStringLiteral("Avg"), QStringLiteral("BbAv"), QStringLiteral("B365"),
                    QStringLiteral("BW"),  QStringLiteral("IW"),   QStringLiteral("PS"),
                    QStringLiteral("WH"),  QStringLiteral("VC")};
    for (const QString &prefix : prefixes) {
        const OddsColumns odds{prefix, column(prefix + u'H'), column(prefix + u'D'), column(prefix + u'A')};
        if (odds.home >= 0 && odds.draw >= 0 && odds.away >= 0) at.odds << odds;
    }

    int width = std::max({at.div, at.country, at.league, at.season, at.date, at.time, at.home, at.away,
                          at.homeGoals, at.awayGoals});
    for (const OddsColumns &odds : at.odds)
        width = std::max({width, odds.home, odds.draw, odds.away});

    QString lastLeague, lastSeason, lastTime, lastCountry, lastLeagueName, lastName;
    const auto leaveOut = [&file](int line, const char *reason) {
        if (file.firstLeftOut.size() < 5) file.firstLeftOut << LeftOutRow{line, Tr(reason)};
        ++file.leftOut;
    };
    while (csv.Next(width + 1)) {
        if (csv.Blank()) continue;
        MatchRow row;
        row.date = ReadDate(csv.Cell(at.date));
        if (!row.date.isValid()) {
            leaveOut(csv.Line(), "датата не е дата");
            continue;
        }
        if (csv.Cell(at.home).isEmpty() || csv.Cell(at.away).isEmpty()) {
            leaveOut(csv.Line(), "няма име на отбор");
            continue;
        }
        if (file.kind != MatchFileKind::Fixtures) {
            const QStringView home = csv.Cell(at.homeGoals);
            const QStringView away = csv.Cell(at.awayGoals);
            if (home.isEmpty() != away.isEmpty()) {
                leaveOut(csv.Line(), "има само единия гол");
                continue;
            }
            if (!home.isEmpty()) {
                row.homeGoals = ReadGoals(home);
                row.awayGoals = ReadGoals(away);
                if (!row.homeGoals || !row.awayGoals) {
                    leaveOut(csv.Line(), "головете не са цяло число");
                    continue;
                }
            }
        }
        if (file.kind == MatchFileKind::Extra) {
            const QStringView country = csv.Cell(at.country);
            const QStringView league = csv.Cell(at.league);
            if (country != lastCountry || league != lastLeagueName) {
                lastCountry = country.toString();
                lastLeagueName = league.toString();
                lastName = (lastCountry + u' ' + lastLeagueName).trimmed();
            }
            if (lastName.isEmpty() && extraCode.isEmpty()) {
                leaveOut(csv.Line(), "няма име на лигата");
                continue;
            }
            if (csv.Cell(at.season).isEmpty()) {
                leaveOut(csv.Line(), "няма сезон");
                continue;
            }
            row.league = extraCode.isEmpty() ? lastName : extraCode;
            row.season = Shared(lastSeason, csv.Cell(at.season));
            if (!lastName.isEmpty() &&
                std::none_of(file.leagueNames.cbegin(), file.leagueNames.cend(),
                             [&row](const auto &known) { return known.first == row.league; }))
                file.leagueNames << qMakePair(row.league, lastName);
        } else {
            if (csv.Cell(at.div).isEmpty()) {
                leaveOut(csv.Line(), "няма име на лигата");
                continue;
            }
            row.league = Shared(lastLeague, csv.Cell(at.div));
            if (file.kind == MatchFileKind::Fixtures) row.season = Shared(lastSeason, SeasonOf(row.date));
        }
        if (at.time >= 0) row.time = Shared(lastTime, csv.Cell(at.time));
        row.home = csv.Cell(at.home).toString();
        row.away = csv.Cell(at.away).toString();
        for (const OddsColumns &odds : at.odds) {
            const QStringView h = csv.Cell(odds.home), d = csv.Cell(odds.draw), a = csv.Cell(odds.away);
            if (UsableOdds(h) && UsableOdds(d) && UsableOdds(a)) {
                row.oddsH = h.toString();
                row.oddsD = d.toString();
                row.oddsA = a.toString();
                row.oddsFrom = odds.prefix;
                break;
            }
        }
        file.rows << std::move(row);
    }

    if (file.kind == MatchFileKind::Main && !file.rows.isEmpty()) {
        // One file, one season: the one its first match falls in.
        QDate first = file.rows.front().date;
        for (const MatchRow &row : std::as_const(file.rows))
            first = std::min(first, row.date);
        const QString season = SeasonOf(first);
        for (MatchRow &row : file.rows)
            row.season = season;
    }
    return file;
}

} // namespace kalvado
