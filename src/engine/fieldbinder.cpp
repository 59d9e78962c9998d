#include "engine/fieldbinder.h"

#include "engine/query.h"
#include "platform/codec.h"
#include "platform/memolimit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

namespace engine {

struct FieldBinder::Binding {
    enum class Kind { Line, Memo, Combo };
    Kind kind;
    QPointer<QWidget> control;
    QString field;
    int offset = 0;
    // Typed but not yet in the record buffer (the store failed); flush retries.
    bool dirty = false;
};

namespace {

// Sets a member for the length of a scope.
template <typename T> class Flag {
  public:
    Flag(T& target, T value) : target_(target), old_(target) { target_ = value; }
    ~Flag() { target_ = old_; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;

  private:
    T& target_;
    T old_;
};

} // namespace

FieldBinder::FieldBinder(Query* query, QObject* parent) : QObject(parent), query_(query) {
    connect(query_, &Query::opened, this, [this] {
        refresh();
        syncView();
    });
    connect(query_, &Query::closed, this, &FieldBinder::refresh);
    connect(query_, &Query::scrolled, this, [this] {
        refresh();
        syncView();
    });
    connect(query_, &Query::recordChanged, this, &FieldBinder::refresh);
    connect(query_, &Query::beforePost, this, &FieldBinder::flush);
}

FieldBinder::~FieldBinder() = default;

FieldBinder::Binding* FieldBinder::find(QWidget* control) {
    for (auto& binding : bindings_)
        if (binding->control == control) return binding.get();
    return nullptr;
}

FieldBinder::Binding& FieldBinder::add(QWidget* control, const QString& field, bool* added) {
    Binding* binding = find(control);
    *added = binding == nullptr;
    if (*added) {
        bindings_.push_back(std::make_unique<Binding>());
        binding = bindings_.back().get();
        binding->control = control;
        connect(control, &QObject::destroyed, this, [this, control] {
            converters_.remove(control);
            std::erase_if(bindings_, [](const auto& b) { return b->control.isNull(); });
        });
    }
    binding->field = field;
    return *binding;
}

void FieldBinder::bindLineEdit(QLineEdit* edit, const QString& field) {
    bool added = false;
    Binding& binding = add(edit, field, &added);
    binding.kind = Binding::Kind::Line;
    if (added)
        connect(edit, &QLineEdit::textChanged, this, [this, edit] {
            if (Binding* b = find(edit); b && !refreshing_) write(*b);
        });
    refreshBinding(binding);
}

void FieldBinder::bindMemo(QPlainTextEdit* memo, const QString& field) {
    bool added = false;
    Binding& binding = add(memo, field, &added);
    binding.kind = Binding::Kind::Memo;
    if (added) {
        // Made first, so that what is written below already fits the field.
        new platform::MemoLengthLimit(
            memo, [this, memo](const QString& shown) { return storedText(memo, shown).size(); });
        connect(memo, &QPlainTextEdit::textChanged, this, [this, memo] {
            if (Binding* b = find(memo); b && !refreshing_) write(*b);
        });
    }
    refreshBinding(binding);
}

void FieldBinder::bindComboIndex(QComboBox* combo, const QString& field, int offset) {
    bool added = false;
    Binding& binding = add(combo, field, &added);
    binding.kind = Binding::Kind::Combo;
    binding.offset = offset;
    if (added)
        connect(combo, &QComboBox::activated, this, [this, combo] {
            if (Binding* b = find(combo); b && !refreshing_) write(*b);
        });
    refreshBinding(binding);
}

void FieldBinder::setConverter(QWidget* control, std::function<QString(const QString&)> toShown,
                               std::function<QString(const QString&)> fromShown) {
    converters_.insert(control, {std::move(toShown), std::move(fromShown)});
    if (Binding* binding = find(control)) refreshBinding(*binding);
}

QString FieldBinder::shownText(const Binding& binding) const {
    if (auto* edit = qobject_cast<QLineEdit*>(binding.control)) return edit->text();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(binding.control)) return memo->toPlainText();
    return {};
}

QString FieldBinder::storedText(QWidget* control, const QString& shown) const {
    QString text = shown;
    if (const auto it = converters_.constFind(control);
        it != converters_.constEnd() && it->fromShown)
        text = it->fromShown(text);
    if (qobject_cast<QPlainTextEdit*>(control)) text = platform::codec::memoFromWidget(text);
    return text;
}

void FieldBinder::refresh() {
    for (auto& binding : bindings_)
        if (binding.get() != writing_) refreshBinding(*binding);
}

void FieldBinder::refreshBinding(Binding& binding) {
    if (!binding.control) return;
    Flag guard(refreshing_, true);
    binding.dirty = false;
    const bool shows = query_ && query_->isActive() && query_->fieldIndex(binding.field) >= 0;
    if (binding.kind == Binding::Kind::Combo) {
        auto* combo = static_cast<QComboBox*>(binding.control.data());
        const int item = shows ? query_->asInteger(binding.field) - binding.offset : -1;
        combo->setCurrentIndex(item >= 0 && item < combo->count() ? item : -1);
        return;
    }
    QString text = shows ? query_->asString(binding.field) : QString();
    if (binding.kind == Binding::Kind::Memo) text = platform::codec::memoToWidget(text);
    if (const auto it = converters_.constFind(binding.control);
        it != converters_.constEnd() && it->toShown)
        text = it->toShown(text);

    if (binding.kind == Binding::Kind::Line) {
        auto* edit = static_cast<QLineEdit*>(binding.control.data());
        if (shows) {
            const int width = query_->fieldWidth(binding.field);
            edit->setMaxLength(width > 0 ? width : 32767);
            if (query_->value(binding.field).metaType().id() == QMetaType::Int &&
                !edit->validator())
                edit->setValidator(new QIntValidator(-32768, 32767, edit));
        }
        // Only a different text is set, so the caret stays where the user left it.
        if (edit->text() != text) edit->setText(text);
    } else {
        auto* memo = static_cast<QPlainTextEdit*>(binding.control.data());
        if (shows)
            if (auto* limit = platform::MemoLengthLimit::of(memo))
                limit->setWidth(query_->fieldWidth(binding.field));
        if (memo->toPlainText() != text) memo->setPlainText(text);
    }
}

void FieldBinder::write(Binding& binding) {
    if (!binding.control || !query_ || !query_->isActive() || query_->fieldIndex(binding.field) < 0)
        return;
    // A read-only result refuses typing: the control shows the field again.
    if (!query_->canModify()) {
        refreshBinding(binding);
        return;
    }
    QVariant value;
    if (binding.kind == Binding::Kind::Combo) {
        value = static_cast<QComboBox*>(binding.control.data())->currentIndex() + binding.offset;
    } else {
        value = storedText(binding.control, shownText(binding));
    }
    binding.dirty = true;
    {
        Flag<Binding*> guard(writing_, &binding);
        query_->setValue(binding.field, value);
    }
    binding.dirty = false;
    emit userEdited(binding.control);
}

void FieldBinder::flush() {
    for (auto& binding : bindings_)
        if (binding->dirty) write(*binding);
}

void FieldBinder::bindView(QAbstractItemView* view) {
    view_ = view;
    if (!view->model() || !view->selectionModel()) return;
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (syncingView_ || !current.isValid() || !query_ || !query_->isActive() ||
                    current.row() == query_->recNo())
                    return;
                try {
                    query_->setRecNo(current.row());
                } catch (...) {
                    // The record could not be left (its post failed): the grid
                    // goes back to it before the error is shown.
                    syncView();
                    throw;
                }
            });
    connect(view->model(), &QAbstractItemModel::modelReset, this, &FieldBinder::syncView);
    syncView();
}

void FieldBinder::syncView() {
    if (!view_ || !view_->model() || !view_->selectionModel()) return;
    Flag guard(syncingView_, true);
    QItemSelectionModel* selection = view_->selectionModel();
    const int row = query_ && query_->isActive() ? query_->recNo() : -1;
    if (row < 0 || row >= view_->model()->rowCount()) {
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    const QModelIndex index =
        view_->model()->index(row, qMax(0, selection->currentIndex().column()));
    // A grid that marks several rows keeps its marks while the record moves.
    const auto mode = view_->selectionMode() == QAbstractItemView::SingleSelection
                          ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                          : QItemSelectionModel::NoUpdate;
    selection->setCurrentIndex(index, mode);
    view_->scrollTo(index);
}

} // namespace engine
