#include "qt/app/CAboutDlg.h"

#include "qt/platform/Resources.h"
#include "qt/widgets/DialogUnits.h"

#include <QLabel>
#include <QPushButton>

namespace {
constexpr int kDialogId = 100;
const Resources::DialogTexts text{kDialogId};
constexpr int kPictureId = 108;

QLabel* line(QWidget* parent, const char* key, const QRect& rect) {
    auto* label = Place(new QLabel(text(key), parent), 0, rect);
    label->setObjectName(QString::fromLatin1(key));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return label;
}
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QString::number(kDialogId));
    setWindowTitle(text("caption"));
    setFont(DialogFont());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(Dlu(0, 0, 170, 81).size());

    // The picture across the top, centred, at its stored size.
    auto* picture = Place(new QLabel(this), kPictureId, Dlu(5, 4, 160, 37));
    picture->setPixmap(Resources::Bitmap(kPictureId));
    picture->setAlignment(Qt::AlignCenter);
    picture->setAccessibleName(Resources::String("a11y.aboutPicture"));

    line(this, "version", Dlu(4, 44, 162, 9));
    line(this, "second", Dlu(4, 53, 162, 9));

    auto* ok = Place(new QPushButton(text("1"), this), 1, Dlu(60, 64, 50, 14));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);
}
