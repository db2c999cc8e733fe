// The drive list and the folder list of the working-folders dialog.
#include "ui/FolderPickers.h"

#include <QApplication>
#include <QDir>
#include <QStyledItemDelegate>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStyle>

namespace ui {

QString displayPath(const QString &path) { return QDir::toNativeSeparators(path); }

namespace {

QStringList driveRoots() {
    QStringList roots;
#ifdef Q_OS_WIN
    for (const QFileInfo &drive : QDir::drives())
        roots << drive.absoluteFilePath();
#else
    roots << QStringLiteral("/");
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && !roots.contains(root))
            roots << root;
    }
    std::sort(roots.begin() + 1, roots.end());
#endif
    return roots;
}

// How deep a folder stands in the chain: drawn as an indent rather than
// written as leading blanks, so that typing a folder's first letters finds it.
constexpr int kDepthRole = Qt::UserRole + 1;

class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

private:
    static int indent(const QModelIndex &index) { return index.data(kDepthRole).toInt() * 14; }
};

bool isReady(const QString &root) {
    const QDir dir(root);
    return dir.exists() && dir.isReadable();
}

} // namespace

DriveList::DriveList(QWidget *parent) : QComboBox(parent) {
    refresh();
    connect(this, QOverload<int>::of(&QComboBox::activated), this, &DriveList::onActivated);
}

void DriveList::refresh() {
    const QSignalBlocker block(this);
    const QString current = drive();
    clear();
    for (const QString &root : driveRoots())
        addItem(displayPath(root), root);
    const int i = findData(current);
    setCurrentIndex(i >= 0 ? i : 0);
    previous_ = currentIndex();
}

QString DriveList::drive() const { return currentData().toString(); }

void DriveList::showDriveOf(const QString &path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        if (absolute.startsWith(root, Qt::CaseInsensitive) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best >= 0) {
        const QSignalBlocker block(this);
        setCurrentIndex(best);
        previous_ = best;
    }
}

void DriveList::onActivated(int index) {
    if (index == previous_)
        return;
    const QString root = itemData(index).toString();
    if (!isReady(root)) {
        const QSignalBlocker block(this);
        setCurrentIndex(previous_);
        emit driveNotReady(root);
        return;
    }
    previous_ = index;
    emit driveChanged(root);
}

FolderList::FolderList(QWidget *parent) : QListWidget(parent) {
    setItemDelegate(new IndentDelegate(this));
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setPath(item->data(Qt::UserRole).toString()); });
    // Selection, not the current item: the view makes an item current on
    // focus alone, and Tab must not pick a folder.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (const QList<QListWidgetItem *> items = selectedItems(); !items.isEmpty())
            emit folderSelected(items.front()->data(Qt::UserRole).toString());
    });
}

void FolderList::setPath(const QString &path) {
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (clean == path_)
        return;
    showPath(clean);
    emit pathChanged(path_);
}

void FolderList::showPath(const QString &path) {
    path_ = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    populate();
}

void FolderList::populate() {
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The chain from the root down to the current folder.
    QStringList chain;
    for (QDir dir(path_);; ) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    int depth = 0;
    for (const QString &folder : chain) {
        const QString name = QDir(folder).isRoot() ? displayPath(folder) : QDir(folder).dirName();
        auto *item = new QListWidgetItem(open, name, this);
        item->setData(Qt::UserRole, folder);
        item->setData(kDepthRole, depth);
        ++depth;
    }
    setCurrentRow(count() - 1);

    const QStringList children =
        QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &child : children) {
        auto *item = new QListWidgetItem(closed, child, this);
        item->setData(Qt::UserRole, QDir(path_).absoluteFilePath(child));
        item->setData(kDepthRole, depth);
    }
}

} // namespace ui
