#pragma once

#include "sending/DecodedSign.h"

#include <QWidget>

#include <vector>

// The last characters sent, each with its elements under it drawn to scale: the key-down as measured over the ideal
// length at the speed learned for the character, in red when more than 20 % off.
class ElementsView : public QWidget
{
    Q_OBJECT

public:
    explicit ElementsView(QWidget* parent = nullptr);
    void setSigns(const std::vector<DecodedSign>& signs);
    // The characters drawn, oldest first.
    const std::vector<DecodedSign>& signs() const { return m_signs; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<DecodedSign> m_signs;
};
