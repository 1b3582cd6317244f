#pragma once

#include <QDialog>

class QLabel;

namespace vaha::app {

// The busy window: a small frameless box with a text and a waiting animation, shown while the
// program does something that blocks it.
class Tpracuji : public QDialog {
    Q_OBJECT
public:
    explicit Tpracuji(QWidget* parent = nullptr);
    ~Tpracuji() override;

    QLabel* Label1 = nullptr;
};

} // namespace vaha::app
