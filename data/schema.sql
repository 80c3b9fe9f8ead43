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
