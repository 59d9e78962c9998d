#pragma once
// The backup archive (".olx"): one vocabulary database packed into one file.
//
// Layout before scrambling (integers 32-bit little-endian, text 8-bit):
//   0    232  TArchiveHeader (version, folder, reserved strings and bytes)
//   232    4  N, the number of file records
//   236       N records: name length L, L name bytes, uncompressed size S,
//             then a zlib stream (level 9) of the S bytes. The compressed
//             length is not stored: the next record starts right after the
//             end of the stream.
// After packing, every byte at offset p of an archive of Z bytes is XORed with
// the key byte at p mod 54 and with Z mod 256.
//
// The routines report integer result codes instead of raising. Packing writes
// the archive atomically and unpacking never changes the archive; the unpacked
// files replace their targets only after every record has been read and
// checked, all of them or none, so a broken archive or a failure while the
// files are put in place leaves the files that were there untouched.
#include <QByteArray>
#include <QString>
#include <QStringList>

// Result codes of the packing and unpacking routines.
enum ArchiveCode : int {
    ArchiveOk = 0,
    ArchiveExists = 1,      // a target exists and overwriting was not allowed
    ArchiveWriteFailed = 2, // a file could not be created, read or written
    ArchiveFailed = 3,      // anything else (also a damaged archive)
    ArchiveBadPath = 4      // the database path is unusable (BackupDatabase only)
};

// What a call did beyond its code. `detail` is a German sentence for the user
// when the code alone would not say what went wrong (a damaged archive, a
// missing file); it is empty otherwise.
struct ArchiveReport {
    QString detail;
    QStringList files; // the files written (unpacking) or packed (packing)
    QString notice;    // unpacking: what the user is told about a converted table
    QString database;  // restoring: the database the archive holds (its table's
                       // name without the extension), once the archive was read
};

// The 232-byte header of an archive.
struct TArchiveHeader {
    static constexpr int Size = 232;
    static constexpr int VersionCapacity = 5;
    static constexpr int FolderCapacity = 30;
    static constexpr int ReservedStrings = 5;
    static constexpr int ReservedBytes = 40;
    // Offsets in the image.
    static constexpr int VersionOffset = 0;
    static constexpr int FolderOffset = 6;
    static constexpr int FirstReservedStringOffset = 37;
    static constexpr int ReservedBytesOffset = 192;

    QString version; // "3.2" for backups of this program; never checked
    QString folder;  // the folder that held the database (its language folder)

    // The image: strings as length byte and characters, cut to their
    // capacity; reserved strings empty, reserved bytes zero.
    QByteArray toBytes() const;
    // Reads version and folder from an image. False (header unchanged) when
    // the image is short or the folder's length byte exceeds its capacity.
    bool fromBytes(const QByteArray& image);
};

// The fixed key of the scrambling, 54 bytes.
const QByteArray& ArchiveKey();

// Folder + "/" + the file name of `path` (the part after its last "/" or "\").
QString MakeTargetName(const QString& folder, const QString& path);

// Cuts everything after the last "." of the file name, keeping the dot
// ("/a/Latein/wort.ol" → "/a/Latein/wort."). 4 (path unchanged) when the file
// name has no dot.
int CutExtension(QString& path);
// The name of the folder that holds the file ("/a/Latein/wort.ol" → "Latein").
// 4 (path unchanged) when the path has fewer than two separators.
int ParentFolderName(QString& path);

// Scrambles a file with the key; the same call unscrambles it. With
// `copyFirst`, the result goes to MakeTargetName(folder, filePath) and the file
// itself stays as it is; otherwise the file is replaced (atomically). Codes: 0,
// 1 the result cannot be created, 2 a read or write failure, 3 anything else.
int ScrambleFile(const QString& filePath, const QByteArray& key, const QString& folder,
                 bool copyFirst);

// Packs the files, in list order, into a new archive (replacing one that
// exists only when everything succeeded). The plain archive is built in
// `tempFolder` (the archive's own folder when that cannot be used). Codes 0,
// 2, 3.
int CompressFiles(const QStringList& files, const QString& archivePath,
                  const TArchiveHeader& header, const QString& tempFolder,
                  ArchiveReport* report = nullptr);

// Unpacks an archive into destFolder + "/" + the header's folder, which is
// created when missing. The archive is read whole before anything is
// written: folder and file names that are empty, "." or "..", contain a
// separator, or name a file twice (without regard to case) are refused as
// damage (3), as are counts, names and streams that do not fit the file and
// bytes after the last record. A folder name that is no usable language
// (IsUsableLanguageFromFile) is refused (3). A file bigger than any vocabulary
// file (MaxTableFileSize) is refused (3), files that together exceed the free
// space too (2). A target that exists gives 1 unless `overwrite`; then nothing
// is written. Nothing is written through a symbolic link standing at the
// folder or a target: such a restore is refused (3). Every file is unpacked
// beside its target first and all are put in place together (a failure
// there puts the old files back: 2). Only regular files are read as archives.
// `tempFolder` is not needed: the archive is read where it lies. Codes 0..3.
int DecompressFiles(const QString& archivePath, const QString& destFolder, bool overwrite,
                    TArchiveHeader& header, const QString& tempFolder,
                    ArchiveReport* report = nullptr);

// Backs up the database whose table file is `dbPath` (".ol" or ".db") with its
// ".lst" and ".opt" and, when it exists, its ".px". 1 when the archive exists
// and `overwrite` is false, 4 when the path is unusable, otherwise the code of
// CompressFiles.
int BackupDatabase(const QString& dbPath, const QString& archivePath, const QString& tempFolder,
                   bool overwrite, const QString& version, ArchiveReport* report = nullptr);

// Restores an archive into destFolder + "/" + its folder. Besides the checks
// of DecompressFiles, the archive must hold one database: exactly one table
// (".ol" or ".db") and at most one ".px", ".lst" and ".opt" of the same name,
// names compared without regard to case; anything else is refused (3) before
// a file is replaced. The companions take the table's name. The archive
// replaces the whole database of that name, found without regard to case but
// never another database's: its files that the archive does not replace (the
// table of the other extension, an old ".px") go. A table of this engine must
// pass SQLite's integrity check and hold the vocabulary table, or it is
// refused (3). A table of the older engine (Paradox) is converted into one of
// this engine before anything is put in place, the original and its ".px"
// kept under KeptParadoxNames (report->notice says so); one that cannot be
// converted is refused (3, the reason in report->detail). Tables about to be
// replaced are released first. Codes 0..3.
int RestoreDatabase(const QString& archivePath, const QString& destFolder,
                    const QString& tempFolder, bool overwrite, ArchiveReport* report = nullptr);
