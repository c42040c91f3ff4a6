#pragma once

#include "foundation/ui/FormShell.h"

class QPlainTextEdit;

// The dispatchers' messages: the newest message on top.
class TForm12 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm12(QWidget* parent = nullptr);
    void insertLineAtTop(const QString& line);
    QString text() const;

private:
    QPlainTextEdit* m_text;
};
