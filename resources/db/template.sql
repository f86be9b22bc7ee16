-- Settings of a fresh cache file, applied once when the build makes the template databases (before
-- schema.sql creates the tables).

-- Fingerprint blocks are up to 9216 bytes (N = 96); with 16 KiB pages every block sits in its row
-- instead of in a chain of overflow pages, which halves the pages a batch writes and a fetch reads.
PRAGMA page_size = 16384;

-- 'QNYC': tells a cache file apart from any other SQLite file. Raise user_version whenever a
-- table in schema.sql changes shape; a file with another version is replaced by a fresh template
-- copy. A column added to ExfInfo is instead added to older files when they are opened.
PRAGMA application_id = 1364089155;
PRAGMA user_version = 2;
