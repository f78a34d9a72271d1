#pragma once
// The profile-file component: typed reads and writes of one INI file, with the
// rules of the classic private-profile functions. Settings, the response
// cache database and the update description each use an instance.
//
// Reading: names match without regard to letter case (Latin and Cyrillic);
// blanks around names and values are dropped; a value wrapped in matching
// quotes loses them; the first section and the first key of a name win;
// lines may end in CR LF, LF or CR; a value is cut to 254 characters.
// Writing: an existing key keeps its line (and its spelling) and gets the new
// value; a new key goes after the last non-blank line of its section; a new
// section goes at the end of the file; a missing file is created. The file is
// replaced atomically, so a crash never leaves half of it.
//
// The parsed file is kept between calls and parsed again only when the file
// on disk changes, so a file of hundreds of keys stays cheap to query, and
// every instance sees what another wrote. Sections and keys are found
// through a table of their folded names, so a read, or a write that adds a
// key at the end of the file (the cache index grows that way), costs the
// same in a file of ten keys and of thousands.

#include "settings/bytetext.h"
#include "settings/whole_file.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <vector>

class INI {
public:
    // Longest value a read returns: the classic 255-byte buffer less its NUL.
    static constexpr qsizetype MaxValueLength = 254;

    // What a read returns for a key written with value: blanks around it
    // dropped, matching quotes removed, cut to MaxValueLength.
    static ByteText ValueAsRead(const ByteText& value);

    QString FileName() const { return fileName_; }
    void setFileName(const QString& FName);
    // A profile read from bytes held in memory instead of a file (the update
    // description as the server sent it): reads see these bytes and no file
    // is touched. Such a profile is only read.
    void setText(const ByteText& content);

    // Files that hold secrets (the proxy password) are created readable by
    // their owner only.
    void setOwnerOnly(bool ownerOnly) { ownerOnly_ = ownerOnly; }

    // Whether a replace of the file waits for the disk (the default). The
    // response cache index does not: it is rewritten on every stored response.
    void setSync(FileSync sync) { sync_ = sync; }

    // Groups writes: while a Batch lives, writes change the file's image in
    // memory only (reads see them) and the file is replaced once, when the
    // last Batch ends. Each replace waits for the disk, so a save of many
    // keys (the settings record) takes one wait instead of one per key.
    class Batch {
    public:
        explicit Batch(INI& ini) : ini_(ini) { ini_.beginBatch(); }
        ~Batch() { ini_.endBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

        // Forgets the writes made so far instead of saving them: the file
        // is about to be replaced anyway. Reads see the file on disk again.
        void Discard() { ini_.discardBatch(); }

    private:
        INI& ini_;
    };

    // Whether the last replace of the file failed (a full disk, a read-only
    // folder): the file then holds what it held before, while reads go on
    // seeing the file as it is on disk. The writes themselves return
    // nothing, as the classic functions do; callers that must know ask here.
    bool WriteFailed() const { return writeFailed_; }

    ByteText RINI(const ByteText& Section, const ByteText& KeyName);
    // Every key line of the first section of that name, in file order, with
    // the value RINI reads from that line. A name may repeat; RINI returns
    // the first. One pass, for tables of hundreds of keys (the cache index).
    struct KeyLine {
        ByteText name, value;
    };
    std::vector<KeyLine> RINISection(const ByteText& Section);
    void WInI(const ByteText& Section, const ByteText& KeyName, const ByteText& KeyValue);
    bool RINIb(const ByteText& Section, const ByteText& KeyName);
    void WInIb(const ByteText& Section, const ByteText& KeyName, bool KeyValue);
    int16_t RINIi(const ByteText& Section, const ByteText& KeyName);
    void WInIi(const ByteText& Section, const ByteText& KeyName, int16_t KeyValue);

private:
    struct Line {
        ByteText text;   // without its line end
        ByteText ending; // "\r\n", "\n", "\r" or empty on the last line
        ByteText name;   // section name or key name, trimmed; empty for other lines
        bool section = false;
    };

    // The first section of each folded name and the first key of each
    // folded name within a section, by line.
    struct Index {
        std::vector<qsizetype> sectionLines; // every section line, in file order
        QHash<ByteText, qsizetype> sections;
        QHash<qsizetype, QHash<ByteText, qsizetype>> keys; // by section line
    };

    void refresh();
    const Index& index();
    void beginBatch();
    void endBatch();
    void discardBatch();
    void changed();
    void parse(const ByteText& content);
    bool save();
    qsizetype findSection(const ByteText& Section);
    qsizetype findKey(qsizetype sectionLine, const ByteText& KeyName);
    qsizetype sectionEnd(qsizetype sectionLine);
    static bool isRecent(const FileStamp& stamp);

    QString fileName_;
    bool ownerOnly_ = false;
    FileSync sync_ = FileSync::WaitForDisk;
    std::vector<Line> lines_;
    Index index_;
    bool indexed_ = false; // index_ describes lines_
    ByteText raw_;         // the bytes lines_ was parsed from
    FileStamp stamp_;
    bool parsed_ = false;
    bool inMemory_ = false; // setText: no file behind the profile
    int batchDepth_ = 0;
    bool unsaved_ = false; // lines_ holds writes of a batch not yet in the file
    bool writeFailed_ = false;
};

// The leading number of a text the way the classic Val reads it: blanks are
// skipped, reading stops at the first character that cannot continue the
// number; no number gives 0.
double LeadingNumber(const ByteText& text);
// Rounds to the nearest whole number, ties to the even one, limited to int16.
int16_t RoundToInt16(double value);
