-- Tables of the cache of one scan source: the EXIF values the comparison needs, the fingerprints of
-- photos and the MD5 digests of videos, keyed by file path, so that a later scan of an unchanged
-- file skips the image work. The build runs template.sql and then this file to make the template
-- databases compiled into the program; the program runs this file against an existing cache to add
-- tables that are missing, so every statement here must be safe to run twice and must change
-- nothing when the tables are there.

-- One row per file path. Times are seconds since 1970-01-01 00:00 GMT stored as REAL, so the
-- modification time comes back as exactly the double that was written (reuse compares it exactly).
-- changeTime is the inode change time; it is NULL for cloud files, which are judged by size and
-- modification time alone, and in the rows of a cache made before it existed, which count as stale.
-- (No comments inside the statement: SQLite keeps its text and edits it when a column changes.)
CREATE TABLE IF NOT EXISTS ExfInfo (
    id          INTEGER PRIMARY KEY,
    filePath    TEXT    NOT NULL UNIQUE,
    captureTime REAL    NOT NULL DEFAULT 0,
    fileSize    INTEGER NOT NULL DEFAULT 0,
    latitude    REAL    NOT NULL DEFAULT 0,
    longitude   REAL    NOT NULL DEFAULT 0,
    pixelWidth  REAL    NOT NULL DEFAULT 0,
    pixelHeight REAL    NOT NULL DEFAULT 0,
    dpiWidth    REAL    NOT NULL DEFAULT 0,
    dpiHeight   REAL    NOT NULL DEFAULT 0,
    orientation INTEGER NOT NULL DEFAULT 0,
    modTime     REAL    NOT NULL DEFAULT 0,
    changeTime  REAL
);

-- Fingerprints, one table per bitmap side N: the eight packed variants of a photo back to back
-- (N*N bytes). A row belongs to the content the EXIF row's size and time describe; when a file
-- changes, its rows in every table are removed together with its EXIF row. checkValue is a hash of
-- the block together with the EXIF row's path, size and modification time: a fetch accepts the
-- block only when it still matches, so a torn page or a row left over from other content can never
-- pass for the fingerprint of the file as it is now.
CREATE TABLE IF NOT EXISTS hashTable48 (exifId INTEGER PRIMARY KEY, hash BLOB NOT NULL, checkValue INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS hashTable56 (exifId INTEGER PRIMARY KEY, hash BLOB NOT NULL, checkValue INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS hashTable64 (exifId INTEGER PRIMARY KEY, hash BLOB NOT NULL, checkValue INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS hashTable72 (exifId INTEGER PRIMARY KEY, hash BLOB NOT NULL, checkValue INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS hashTable80 (exifId INTEGER PRIMARY KEY, hash BLOB NOT NULL, checkValue INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS hashTable88 (exifId INTEGER PRIMARY KEY, hash BLOB NOT NULL, checkValue INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS hashTable96 (exifId INTEGER PRIMARY KEY, hash BLOB NOT NULL, checkValue INTEGER NOT NULL);

-- MD5 digests of videos: the lower-case hexadecimal text as UTF-8 bytes, with a check value as above.
CREATE TABLE IF NOT EXISTS md5Table (exifId INTEGER PRIMARY KEY, md5 BLOB NOT NULL, checkValue INTEGER NOT NULL);

-- Paths of the current scan; the fetch reads only the cached rows of these paths.
CREATE TABLE IF NOT EXISTS tempTable (filePath TEXT PRIMARY KEY) WITHOUT ROWID;
