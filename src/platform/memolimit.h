#pragma once
// Keeps a memo within the width of the table field it edits, the way a line
// edit's maximum length does: an edit that would make the stored text longer
// than the field keeps as many of the characters it inserted as fit and drops
// the rest, at the place where they were inserted. The text around them is
// never moved or cut, so a key typed into a full memo is simply not taken and
// a paste keeps its beginning.
//
// Keys, input and pastes from the keyboard are cut before the memo takes
// them, as a line edit cuts what goes beyond its maximum length: taken and
// cut afterwards, a key would leave a step in the memo's undo history that
// undoes nothing and blocks the edits before it. Watchers that turn a key into
// shorter text (the Greek typing aid) see it first when they are installed
// after the limit.
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

    // Whether the memo may show this text.
    bool fits(const QString& shown) const;
    // What of a text put in place of the memo's selection fits: its
    // beginning, as far as there is room.
    QString fittingPart(const QString& inserted) const;

    // The limit of a memo, when one was made for it.
    static MemoLengthLimit* of(const QPlainTextEdit* memo);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QPlainTextEdit> memo_;
    StoredLength storedLength_;
    int width_ = 0;
    // The part of the text inserted by the change in progress.
    int insertedFrom_ = -1;
    int insertedTo_ = -1;
    bool trimming_ = false;
    // How many characters of `inserted` fit beside the text `around` it.
    int keptLength(const QString& inserted, const QString& around) const;
    void noteChange(int position, int removed, int added);
    void trim();
};

// A line break of a memo is stored as CR LF, every other character as one.
qsizetype StoredMemoLength(const QString& shown);

} // namespace platform
