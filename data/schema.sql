-- Club table: one row per club with its seven most recent results, oldest
-- first. Result columns are text so that the typed digits read back exactly;
-- NULL is an empty result.
CREATE TABLE Tims (
    Tim TEXT,
    Date TEXT,
    v1 TEXT, p1 TEXT,
    v2 TEXT, p2 TEXT,
    v3 TEXT, p3 TEXT,
    v4 TEXT, p4 TEXT,
    v5 TEXT, p5 TEXT,
    v6 TEXT, p6 TEXT,
    v7 TEXT, p7 TEXT
);
CREATE INDEX TimsByName ON Tims (Tim);

-- Archive of prognoses, later completed with the real result.
CREATE TABLE KD (
    Nom INTEGER,
    Dom TEXT,
    Gost TEXT,
    proD TEXT,
    proG TEXT,
    resD TEXT,
    resG TEXT,
    -- Added later, so at the end: the odds 1, X, 2 as typed when the
    -- prognosis was made (NULL when not announced) and when it was made.
    k1 TEXT,
    kX TEXT,
    k2 TEXT,
    Created TEXT
);

-- Match history read from the results site's files. A match is one League
-- (code), Date (yyyy-mm-dd), Home and Away; goals are NULL for a match not
-- yet played; the odds are the file's text, NULL when it had no triple, and
-- OddsFrom the column prefix they came from.
CREATE TABLE Matches (
    League TEXT,
    Season TEXT,
    Date TEXT,
    Time TEXT,
    Home TEXT,
    Away TEXT,
    HomeGoals INTEGER,
    AwayGoals INTEGER,
    OddsH TEXT,
    OddsD TEXT,
    OddsA TEXT,
    OddsFrom TEXT
);
CREATE UNIQUE INDEX MatchesByMatch ON Matches (League, Date, Home, Away);
CREATE INDEX MatchesByHome ON Matches (Home, Date);
CREATE INDEX MatchesByAway ON Matches (Away, Date);
CREATE INDEX MatchesBySeason ON Matches (League, Season, Date);
-- Every match in date order, for the replay, without sorting them all.
CREATE INDEX MatchesByDate ON Matches (Date);

-- The name shown for each league code.
CREATE TABLE Leagues (
    Code TEXT PRIMARY KEY,
    Name TEXT
);

-- A club as the history names it, linked to the user's name for it. The
-- build fills it with the default links.
CREATE TABLE ClubLinks (
    Name TEXT PRIMARY KEY,
    Tim TEXT
);
