// Positions are design measures in twips, converted at the screen's
// resolution, so the dialog keeps the suite's proportions.
#include "system/FormSysFehler.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

#include "system/FenstertitelHoehe.h"

using namespace Qt::StringLiterals;

namespace {
constexpr int kBreite = 6600;
constexpr int kHoeheEingeklappt = 1500;
constexpr int kHoeheAusgeklappt = 4170;
constexpr int kKnopfLinks = 5160, kKnopfBreite = 1320, kKnopfHoehe = 375;
const char* const kTag = "Tag";

// Only blanks, as the suite trims its texts.
QString ohneRandleerzeichen(const QString& text)
{
    qsizetype anfang = 0, ende = text.size();
    while (anfang < ende && text[anfang] == u' ')
        ++anfang;
    while (ende > anfang && text[ende - 1] == u' ')
        --ende;
    return text.mid(anfang, ende - anfang);
}

QString zahlAlsText(double zahl)
{
    QLocale deutsch(QLocale::German);
    deutsch.setNumberOptions(QLocale::OmitGroupSeparator);
    return deutsch.toString(zahl, 'g', 15);
}
} // namespace

FormSysFehler::FormSysFehler(QWidget* parent)
    : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                   Qt::WindowTitleHint);
    const QFont verdana(u"Verdana"_s);

    PictureAnimation = new QLabel(this);
    PictureAnimation->setGeometry(px(120), px(120), 32, 32);
    PictureAnimation->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));

    LabelText = new QLabel(this);
    LabelText->setFont(verdana);
    LabelText->setWordWrap(true);
    LabelText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelText->setGeometry(px(840), px(120), px(4200), px(1140));

    cmdOK = new QPushButton(u"&Ok"_s, this);
    cmdOK->setDefault(true);
    cmdOK->setGeometry(px(kKnopfLinks), px(120), px(kKnopfBreite), px(kKnopfHoehe));
    cmdWiederholen = new QPushButton(u"W&iederholen"_s, this);
    cmdWiederholen->setGeometry(px(kKnopfLinks), px(120 + kKnopfHoehe + 60), px(kKnopfBreite),
                                px(kKnopfHoehe));
    cmdDetails = new QPushButton(u"&Details .."_s, this);
    cmdDetails->setGeometry(cmdWiederholen->geometry());
    cmdDetails->setProperty(kTag, QString());

    for (int i = 0; i < 2; ++i) {
        Linie[i] = new QFrame(this);
        Linie[i]->setFrameShape(QFrame::HLine);
        Linie[i]->setFrameShadow(QFrame::Sunken);
    }
    Linie[0]->setGeometry(px(120), px(1320), px(kBreite - 240), 2);
    LabelDetails = new QLabel(u"Details :"_s, this);
    LabelDetails->setFont(verdana);
    LabelDetails->setGeometry(px(120), px(1440), px(2400), px(240));
    TextDetails = new QPlainTextEdit(this);
    TextDetails->setFont(verdana);
    TextDetails->setReadOnly(true);
    TextDetails->setGeometry(px(120), px(1740), px(kBreite - 240), px(2040));
    Linie[1]->setGeometry(px(120), px(3900), px(kBreite - 240), 2);

    connect(cmdOK, &QPushButton::clicked, this, [this] {
        m_ergebnis = 1;
        hide();
    });
    connect(cmdWiederholen, &QPushButton::clicked, this, [this] {
        m_ergebnis = 2;
        hide();
    });
    connect(cmdDetails, &QPushButton::clicked, this, &FormSysFehler::cmdDetailsClick);

    hoeheSetzen(GetFensterTitelHoeheInTwips(*this) + kHoeheEingeklappt);
}

int FormSysFehler::px(int twips) const
{
    return qRound(twips * logicalDpiY() / 1440.0);
}

bool FormSysFehler::ausgeklappt() const
{
    return !cmdDetails->property(kTag).toString().isEmpty();
}

// Heights are outer heights, title bar included, like the suite's forms.
void FormSysFehler::hoeheSetzen(int twips)
{
    const int rahmen = frameGeometry().height() - height();
    setFixedSize(px(kBreite), std::max(1, px(twips) - rahmen));
}

void FormSysFehler::cmdDetailsClick()
{
    if (ausgeklappt()) {
        cmdDetails->setProperty(kTag, QString());
        cmdDetails->setText(u"&Details .."_s);
        hoeheSetzen(GetFensterTitelHoeheInTwips(*this) + kHoeheEingeklappt);
    } else {
        cmdDetails->setProperty(kTag, u"ausgeklappt"_s);
        cmdDetails->setText(u"&Details <<"_s);
        hoeheSetzen(GetFensterTitelHoeheInTwips(*this) + kHoeheAusgeklappt);
    }
}

// The frame is known only once the window is shown; the heights count it.
void FormSysFehler::showEvent(QShowEvent* ereignis)
{
    QDialog::showEvent(ereignis);
    hoeheSetzen(GetFensterTitelHoeheInTwips(*this) +
                (ausgeklappt() ? kHoeheAusgeklappt : kHoeheEingeklappt));
}

void FormSysFehler::closeEvent(QCloseEvent* ereignis)
{
    // The close box counts as Ok.
    m_ergebnis = 1;
    QDialog::closeEvent(ereignis);
}

qint32 FormSysFehler::ShowFehler(const QString& Fehlertext, double ErrNumber,
                                 const QString& ErrSource, const QString& ErrDescription,
                                 const QString& DetailText, const QString& FensterCaption,
                                 bool ButtonWiederholen, bool DetailsAufklappen,
                                 bool NurAnzeigenUndStehenLassen)
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();

    cmdWiederholen->setVisible(ButtonWiederholen);
    QRect details = cmdDetails->geometry();
    details.moveTop(ButtonWiederholen ? cmdWiederholen->y() + cmdWiederholen->height()
                                      : cmdWiederholen->y());
    cmdDetails->setGeometry(details);

    setWindowTitle(ohneRandleerzeichen(FensterCaption));
    LabelText->setText(ohneRandleerzeichen(Fehlertext));

    QString text;
    if (ErrNumber != 0)
        text += u'(' + zahlAlsText(ErrNumber) + u") "_s + ohneRandleerzeichen(ErrDescription) +
                u"\r\n"_s + u"Fehlerort: "_s + ohneRandleerzeichen(ErrSource) + u"\r\n\r\n"_s;
    if (!DetailText.isEmpty())
        text += ohneRandleerzeichen(DetailText);
    TextDetails->setPlainText(text);

    m_ergebnis = 0;
    if (DetailsAufklappen)
        cmdDetailsClick();

    if (NurAnzeigenUndStehenLassen) {
        show();
        return 0;
    }
    exec();
    return m_ergebnis;
}

qint32 ShowFehler(const QString& Fehlertext, double ErrNumber, const QString& ErrSource,
                  const QString& ErrDescription, const QString& DetailText,
                  const QString& FensterCaption, bool ButtonWiederholen, bool DetailsAufklappen,
                  bool NurAnzeigenUndStehenLassen)
{
    if (NurAnzeigenUndStehenLassen) {
        auto* form = new FormSysFehler;
        form->setAttribute(Qt::WA_DeleteOnClose);
        return form->ShowFehler(Fehlertext, ErrNumber, ErrSource, ErrDescription, DetailText,
                                FensterCaption, ButtonWiederholen, DetailsAufklappen, true);
    }
    FormSysFehler form;
    return form.ShowFehler(Fehlertext, ErrNumber, ErrSource, ErrDescription, DetailText,
                           FensterCaption, ButtonWiederholen, DetailsAufklappen, false);
}
