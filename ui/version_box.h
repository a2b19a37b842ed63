#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quorvane {

// The version box of the Help menu (Form3): icon, version line, copyright,
// company. Its controls keep their object names for the tests.
class VersionBox : public QDialog {
    Q_OBJECT
public:
    explicit VersionBox(QWidget* parent = nullptr);

private:
    void showVersion();

    QLabel* icon_;
    QLabel* versionLabel_;
    QLabel* copyrightLabel_;
    QLabel* companyLabel_;
    QPushButton* okButton_;
};

} // namespace quorvane
