#pragma once
// Keeps a memo within the width of the table field it edits, the way a line
// edit's maximum length does: an edit that would make the stored text longer
// than the field keeps as many of the characters it inserted as fit and drops
// the rest, at the place where they were inserted. The text around them is
// never moved or cut, so a key typed into a full memo is simply not taken and
// a paste keeps its beginning.
#include <QObject>
#include <QPointer>
#include <functional>

class QPlainTextEdit;

namespace platform {

class MemoLengthLimit : public QObject {
    Q_OBJECT
  public:
    // How many characters a shown text takes in the field.
    using StoredLength = std::function<qsizetype(const QString&)>;

    // Create it before anything else connects to the memo's textChanged, so
    // that those handlers see only text that fits.
    MemoLengthLimit(QPlainTextEdit* memo, StoredLength storedLength);

    // The field's width in stored characters; 0 takes any length.
    void setWidth(int width) { width_ = width; }
    int width() const { return width_; }

    // The limit of a memo, when one was made for it.
    static MemoLengthLimit* of(const QPlainTextEdit* memo);

  private:
    QPointer<QPlainTextEdit> memo_;
    StoredLength storedLength_;
    int width_ = 0;
    // The part of the text inserted by the change in progress.
    int insertedFrom_ = -1;
    int insertedTo_ = -1;
    bool trimming_ = false;
    void noteChange(int position, int removed, int added);
    void trim();
};

// A line break of a memo is stored as CR LF, every other character as one.
qsizetype StoredMemoLength(const QString& shown);

} // namespace platform
