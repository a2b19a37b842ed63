#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace quorvane {

// The start-address dialog of the extraction (Form2): the address at which
// a raw binary image starts, typed as up to 8 hex digits. Accepted only
// through OK; Cancel and the close box reject it.
class StartAddressDialog : public QDialog {
    Q_OBJECT
public:
    explicit StartAddressDialog(QWidget* parent = nullptr);

    // The text typed, taken when OK was pressed; empty otherwise.
    [[nodiscard]] QString startAddress() const { return startAddress_; }
    [[nodiscard]] bool accepted() const { return accepted_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void acceptTypedAddress();

    QLineEdit* addressField_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    QString startAddress_;
    bool accepted_ = false;
};

} // namespace quorvane
