#pragma once
// Binds edit fields, memos and lists to the fields of a query's current record
// the way data-aware controls do: the control shows the field, typing puts the
// query into edit state and writes the field, a post or a move stores it.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class QLineEdit;
class QPlainTextEdit;
class QComboBox;
class QAbstractItemView;

namespace engine {

class Query;

class FieldBinder : public QObject {
    Q_OBJECT
  public:
    explicit FieldBinder(Query* query, QObject* parent = nullptr);
    ~FieldBinder() override;

    // A line edit for a text or number field; its length is limited to CHAR(n).
    // Text set by the program counts as typed, as it does for a memo.
    void bindLineEdit(QLineEdit* edit, const QString& field);
    // A memo: lines are stored separated by CR LF.
    void bindMemo(QPlainTextEdit* memo, const QString& field);
    // A list whose item i stands for the value i + offset (a SMALLINT code);
    // a value outside the list shows no item.
    void bindComboIndex(QComboBox* combo, const QString& field, int offset = 1);

    // Converts between stored text and what a control shows (character sets);
    // applies to the text controls bound so far and later.
    void setConverter(QWidget* control, std::function<QString(const QString&)> toShown,
                      std::function<QString(const QString&)> fromShown);

    // Keeps a grid's current row on the query's current record and back.
    // Call it after the view has its model.
    void bindView(QAbstractItemView* view);

    // Shows the current record in every bound control again.
    void refresh();
    // Writes every bound control's text into the record buffer (before a post).
    void flush();

  signals:
    // A control's text was changed by the user (not by a refresh).
    void userEdited(QWidget* control);

  private:
    struct Binding;
    struct Converter {
        std::function<QString(const QString&)> toShown;
        std::function<QString(const QString&)> fromShown;
    };
    QPointer<Query> query_; // controls may outlive the query
    std::vector<std::unique_ptr<Binding>> bindings_;
    QHash<QWidget*, Converter> converters_;
    QPointer<QAbstractItemView> view_;
    bool refreshing_ = false;
    bool syncingView_ = false;
    Binding* writing_ = nullptr; // the control whose text is being stored
    Binding* find(QWidget* control);
    // The control's binding, made when it has none yet (then *added is true).
    Binding& add(QWidget* control, const QString& field, bool* added);
    void refreshBinding(Binding& binding);
    void write(Binding& binding);
    QString shownText(const Binding& binding) const;
    // What a control's shown text is in the field (character set, memo lines).
    QString storedText(QWidget* control, const QString& shown) const;
    void syncView();
};

} // namespace engine
