#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quorvane {

// The version box of the Help menu: icon, version line, copyright, company.
class Form3 : public QDialog {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

private:
    void Form_Load();
    void Command1_Click();

    QLabel* Picture1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* Command1;
};

} // namespace quorvane
