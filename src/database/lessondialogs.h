#pragma once
// The two small dialogs of the lesson operations: Tumbe asks for a lesson
// number, section and title (new lesson, rename); Tkopieren lets the user pick
// a target in a copy of the lesson tree (copy and move of sections and of
// marked words, and the search window's hits).
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class Tumbe : public QDialog {
    Q_OBJECT
  public:
    explicit Tumbe(QWidget* parent = nullptr);
    ~Tumbe() override;

    // "&OK": refuses an empty lesson number (result 99), otherwise result 1.
    void BitBtn1Click();
    // "&Abbruch": result 2.
    void BitBtn2Click();
    // A typed character other than a digit, Backspace or Enter is refused with
    // "Ungültiges Zeichen": the field then holds "1". Returns true when the
    // key was taken over here.
    bool enummerKeyPress(QChar key);

    // Presets of the callers.
    // New lesson: section "A" "1", an empty title; the number stays as it was.
    void prepareNewLesson();
    // Renaming a lesson number: its number shown without leading zeros, the
    // section and title fields empty and disabled.
    void prepareRenameNumber(const QString& number);
    // Renaming a section: number, letter, digit and title of the section.
    void prepareRenameSection(const QString& code, const QString& title);
    // Fields enabled again and the section set to "A" "1".
    void resetFields();

    QLineEdit* enummer;
    QComboBox* buchsbox;
    QComboBox* zahlbox;
    QLineEdit* mthema;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class Tkopieren : public QDialog {
    Q_OBJECT
  public:
    explicit Tkopieren(QWidget* parent = nullptr);
    ~Tkopieren() override;

    // Copies the nodes of the main lesson tree (and which lessons are open)
    // and shows the source's top-node text and node text.
    void fillFrom(const QTreeWidget* lekbaum, const QString& sourceLesson,
                  const QString& sourceSection);

    // "&OK" and a double click in the tree: 12 for a lesson number, 11 for a
    // section; with nothing selected the dialog stays open.
    void btnKopierenClick();
    // "&Abbruch": 99.
    void Button2Click();

    // The chosen section's code ("001A1"), empty for a lesson number or none.
    QString chosenCode() const;
    // The chosen node's three-digit lesson number, empty for none.
    QString chosenNumber() const;

    QTreeWidget* baumtree;
    QLabel* labellek;
    QLabel* labelab;
    QPushButton* btnKopieren;
    QPushButton* Button2;
};

extern Tumbe* umbe;
extern Tkopieren* kopieren;
