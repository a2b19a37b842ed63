#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace quorvane {

// The start-address dialog of the extraction: the address at which a raw
// binary image starts, typed as up to 8 hex digits. Accepted only through OK;
// Cancel and the close box reject it.
class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    // The text typed, taken when OK was pressed; empty otherwise.
    [[nodiscard]] QString StartAddress() const { return startAddress_; }
    [[nodiscard]] bool StartAddressOK() const { return startAddressOk_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void btn_InputOK_Click();
    void btn_InputCancel_Click();

    QLineEdit* Text_StartAddress;
    QPushButton* btn_InputOK;
    QPushButton* btn_InputCancel;
    QString startAddress_;
    bool startAddressOk_ = false;
};

} // namespace quorvane
