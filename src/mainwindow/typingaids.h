#pragma once
// Runs the Hebrew entry aid, the Greek typing aid and the Ctrl+1..Ctrl+9 hot
// keys of the special-character window on word fields. Install one object and
// let it watch the fields; it reacts to the user's edits only, never to text
// that the program puts into a field.
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

class TypingAids : public QObject {
    Q_OBJECT
  public:
    // `editable` says whether the aids may change the fields now (for the main
    // window: the main query is open and editable and no bulk change runs);
    // `charset` is the character set the fields show (default: the open
    // database's foreign-word charset).
    explicit TypingAids(QObject* parent = nullptr, std::function<bool()> editable = {},
                        std::function<int()> charset = {});

    void watch(QLineEdit* field);
    void watch(QPlainTextEdit* field);

    // One pass of both aids on a field after the user changed it (Hebrew
    // first, then Greek).
    void runAids(QWidget* field);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int charset() const;
    std::function<bool()> editable_;
    std::function<int()> charset_;
    QPointer<QObject> typing_; // the memo a key is being typed into
    bool running_ = false;
};

// The text of a line edit or memo as stored text, and its caret.
QString StoredFieldText(QWidget* field, int charset);
int FieldCaret(QWidget* field);
// Sets a field's stored text (when it differs) and caret.
void SetStoredFieldText(QWidget* field, const QString& stored, int caret, int charset);
// Replaces the selection of a line edit or memo by stored text, shown in the
// field's charset; false for any other widget.
bool InsertStoredText(QWidget* field, const QString& stored, int charset);
