#pragma once
// Runs the Hebrew entry aid, the Greek typing aid and the Ctrl+1..Ctrl+9 hot
// keys of the special-character window on text fields. Install one object and
// let it watch the fields; the aids see each of the user's edits together with
// the text the field held before it, and act only on a typed character, never
// on text that the program puts into a field.
#include "mainwindow/greektyping.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

class TypingAids : public QObject {
    Q_OBJECT
  public:
    // `editable` says whether the aids may change the fields now (for the main
    // window: the main query is open and editable and no bulk change runs);
    // `charset` is the character set the fields show (default: the open
    // database's foreign-word charset). By default the Hebrew aid acts as
    // HebrewEntryAidWanted() says and the Greek aid when the database's foreign-word font
    // is "Greek"; setAidSwitches() puts other tests in their place.
    explicit TypingAids(QObject* parent = nullptr, std::function<bool()> editable = {},
                        std::function<int()> charset = {});

    void watch(QLineEdit* field);
    void watch(QPlainTextEdit* field);
    void setAidSwitches(std::function<bool(QWidget*)> hebrew, std::function<bool(QWidget*)> greek);
    // The Greek routine run on an edit (default: sonderzeichen, the main
    // window's aid); the quiz window puts its own in.
    using GreekRoutine =
        std::function<GreekTypingResult(const QString& before, const QString& after, int caret)>;
    void setGreekRoutine(GreekRoutine routine) { greekRoutine_ = std::move(routine); }
    // Whether Ctrl+1..Ctrl+9 insert from the special-character window (the
    // main window's word fields; on by default).
    void setHotkeys(bool on) { hotkeys_ = on; }

    // A record was loaded into the fields: the Hebrew aid's text follows the
    // field that has the focus.
    void recordLoaded();

    // One pass of both aids on a field after the user changed it (Hebrew
    // first, then Greek); `before` is the field's stored text before the edit.
    void runAids(QWidget* field, const QString& before);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int charset() const;
    bool hebrewActive(QWidget* field) const;
    bool greekActive(QWidget* field) const;
    // A key that does not fit the field's width but that the Greek aid
    // composes with the signs before it into text that fits: composed here,
    // before the field refuses the key. True when it was.
    bool composeAtWidth(QWidget* field, const QKeyEvent& key);
    void userChanged(QWidget* field);
    void noteText(QWidget* field);
    std::function<bool()> editable_;
    std::function<int()> charset_;
    std::function<bool(QWidget*)> hebrew_;
    std::function<bool(QWidget*)> greek_;
    GreekRoutine greekRoutine_;
    // What each field showed after its last change: the text before the next.
    QHash<QObject*, QString> shown_;
    QPointer<QObject> typing_; // the memo a key is being typed into
    bool running_ = false;
    bool hotkeys_ = true;
};

// The text of a line edit or memo as stored text, and its caret.
QString StoredFieldText(QWidget* field, int charset);
int FieldCaret(QWidget* field);
// Whether a line edit or memo may show this text: its maximum length, or the
// width of the table field the memo edits.
bool fitsField(QWidget* field, const QString& shown);
// Sets a field's stored text (when it differs) and caret.
void SetStoredFieldText(QWidget* field, const QString& stored, int caret, int charset);
// Replaces the selection of a line edit or memo by stored text, shown in the
// field's charset; false for any other widget. The aids treat one character
// put in this way as typed.
bool InsertStoredText(QWidget* field, const QString& stored, int charset);
