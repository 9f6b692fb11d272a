#pragma once

#include <QObject>
#include <QRegion>

#include <map>
#include <vector>

class QWidget;

// The regions Qt's paint events give each widget, in order, while the log lives.
class PaintLog : public QObject {
public:
    PaintLog();
    ~PaintLog() override;

    const std::vector<QRegion>& Of(const QWidget* widget) { return m_paints[widget]; }
    QRegion All(const QWidget* widget);
    void Clear() { m_paints.clear(); }

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    std::map<const QObject*, std::vector<QRegion>> m_paints;
};

// Whether every part of a region is a line one pixel wide or high: a focus frame's lines, not a face.
bool OnlyLines(const QRegion& region);
