#include "ui/AboutBox.h"

#include "shell/FileVersionInfo.h"
#include "shell/Places.h"
#include "ui/Dialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zp {

namespace {

QLabel* Link(const QString& Caption, const QString& Url, const QString& Text, QWidget* Parent) {
    auto* Label =
        new QLabel(QStringLiteral("%1<a href=\"%2\">%3</a>").arg(Caption.toHtmlEscaped(), Url, Text), Parent);
    Label->setOpenExternalLinks(true);
    Label->setCursor(Qt::PointingHandCursor);
    Label->setAlignment(Qt::AlignCenter);
    return Label;
}

} // namespace

TAboutBox::TAboutBox(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(QStringLiteral("Info"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setAutoFillBackground(true);
    QPalette P = palette();
    P.setColor(QPalette::Window, Qt::white);
    setPalette(P);

    const TFileVersionInfo Info = ReadFileVersionInfo(ProgramFilePath());
    auto* Layout = new QVBoxLayout(this);
    auto* Picture = new QLabel(this);
    Picture->setPixmap(ProductPicture(180, 180, false));
    Picture->setAlignment(Qt::AlignCenter);
    Layout->addWidget(Picture);

    auto* Name = new QLabel(Info.ProductName, this);
    QFont NameFont(QStringLiteral("Arial"));
    NameFont.setPixelSize(19);
    NameFont.setBold(true);
    Name->setFont(NameFont);
    Name->setAlignment(Qt::AlignCenter);
    Name->setObjectName(QStringLiteral("ProductName"));
    Layout->addWidget(Name);

    auto* Version = new QLabel(QStringLiteral("Version: ") + Info.ProductVersion, this);
    Version->setAlignment(Qt::AlignCenter);
    Version->setObjectName(QStringLiteral("Version"));
    Layout->addWidget(Version);
    auto* Legal = new QLabel(Info.LegalCopyRight, this);
    Legal->setAlignment(Qt::AlignCenter);
    Legal->setWordWrap(true);
    Layout->addWidget(Legal);
    Layout->addWidget(Link(QStringLiteral("Homepage: "), QString::fromLatin1(Homepage),
                           QString::fromLatin1(Homepage), this));
    Layout->addWidget(Link(QStringLiteral("E-Mail: "), QStringLiteral("mailto:") + QString::fromLatin1(Mail),
                           QString::fromLatin1(Mail), this));
    auto* Rights =
        new QLabel(QStringLiteral("Dieses Programm ist urheberrechtlich geschützt. Die Weitergabe ist nur "
                                  "unverändert und vollständig gestattet."),
                   this);
    Rights->setWordWrap(true);
    Rights->setAlignment(Qt::AlignCenter);
    Layout->addWidget(Rights);
    auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    Buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    Layout->addWidget(Buttons);
    setFixedSize(290, 431);
}

} // namespace zp
