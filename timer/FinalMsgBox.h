#ifndef FINALMSGBOX_H
#define FINALMSGBOX_H

#include <QDialog>

#include <memory>

namespace Ui {
class FinalMsgBox;
}

// Announces the end of the memorization period: plays "fine.wav" as soon as
// it is created and shows one line of text with an OK button.
class FinalMsgBox : public QDialog
{
    Q_OBJECT

public:
    explicit FinalMsgBox(QWidget *parent = nullptr);
    ~FinalMsgBox() override;

private slots:
    void on_ButtonOK_clicked();

private:
    std::unique_ptr<Ui::FinalMsgBox> ui;
};

#endif
