#pragma once

#include <QDialog>

class QLabel;
class QFrame;
class QPlainTextEdit;
class QPushButton;

/// The suite's dialog for reporting a failure: the message, a details area
/// that opens below it (error number, description, source, further details)
/// and the buttons Ok, Retry and Details. Result codes: 0 nothing chosen,
/// 1 Ok or the close box, 2 Retry.
class FormSysFehler : public QDialog
{
    Q_OBJECT
public:
    explicit FormSysFehler(QWidget* parent = nullptr);

    /// Fills and shows the dialog. Modal: returns the result code once the
    /// dialog was hidden by a button or closed. With
    /// `NurAnzeigenUndStehenLassen` it returns 0 at once and stays open.
    qint32 ShowFehler(const QString& Fehlertext, double ErrNumber, const QString& ErrSource,
                      const QString& ErrDescription, const QString& DetailText,
                      const QString& FensterCaption, bool ButtonWiederholen, bool DetailsAufklappen,
                      bool NurAnzeigenUndStehenLassen);

    qint32 ergebnis() const { return m_ergebnis; }
    bool ausgeklappt() const;

    QLabel* LabelText;
    QLabel* LabelDetails;
    QPlainTextEdit* TextDetails;
    QPushButton* cmdOK;
    QPushButton* cmdWiederholen;
    QPushButton* cmdDetails;
    QLabel* PictureAnimation;
    QFrame* Linie[2];

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    void showEvent(QShowEvent* ereignis) override;

private:
    void cmdDetailsClick();
    void hoeheSetzen(int twips);
    int px(int twips) const;

    qint32 m_ergebnis = 0;
};

/// Shows the dialog as a window of its own: modal on the stack, or, with
/// `NurAnzeigenUndStehenLassen`, left open and deleted when it is closed.
qint32 ShowFehler(const QString& Fehlertext, double ErrNumber, const QString& ErrSource,
                  const QString& ErrDescription, const QString& DetailText,
                  const QString& FensterCaption, bool ButtonWiederholen, bool DetailsAufklappen,
                  bool NurAnzeigenUndStehenLassen);
