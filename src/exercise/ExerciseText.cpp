#include "exercise/ExerciseText.h"

#include <QPlainTextEdit>

void ExerciseText::attach(QPlainTextEdit* view, std::function<void()> changed)
{
    m_view = view;
    m_changed = std::move(changed);
    refreshView();
}

void ExerciseText::set(const QString& text)
{
    m_text = text;
    m_viewStale = true;
    if (m_changed)
        m_changed();
    if (m_batchDepth == 0)
        refreshView();
}

void ExerciseText::append(QStringView piece)
{
    m_text.append(piece);
    m_viewStale = true;
    if (m_changed)
        m_changed();
    if (m_batchDepth == 0)
        refreshView();
}

ExerciseText::Batch::Batch(ExerciseText& text) : m_text(text)
{
    ++m_text.m_batchDepth;
}

ExerciseText::Batch::~Batch()
{
    if (--m_text.m_batchDepth == 0)
        m_text.refreshView();
}

void ExerciseText::takeFromView()
{
    if (m_updatingView || !m_view)
        return;
    m_text = m_view->toPlainText();
    if (m_changed)
        m_changed();
}

void ExerciseText::refreshView()
{
    if (!m_view || !m_viewStale)
        return;
    m_viewStale = false;
    if (m_view->toPlainText() == m_text)
        return;
    m_updatingView = true;
    m_view->setPlainText(m_text);
    m_updatingView = false;
}
