#include "controls/CTabWnd.h"

#include <QResizeEvent>

namespace sonoria {

CTabWnd::CTabWnd(QWidget* parent) : QWidget(parent) {}

CTabWnd::~CTabWnd() = default;

void CTabWnd::AddPage(QWidget* page, int dialogId) {
    if (m_pageCount >= kMaxPages) return;
    m_pageTemplateIds[m_pageCount] = dialogId;
    if (page) {
        // An embedded child, not a window of its own.
        page->setParent(this, Qt::Widget);
        m_pages[m_pageCount] = page;
    }
    ++m_pageCount;
}

void CTabWnd::LayoutPages() {
    const QRect client = rect();
    m_laidOutSize = client.size();
    for (int i = 0; i < m_pageCount; ++i) {
        QWidget* page = m_pages[i];
        if (!page) continue;
        page->setGeometry(0, 0, client.width(), client.height());
        page->update();
        page->setVisible(i == 0);
    }
}

int CTabWnd::ShowPage(int index) {
    if (index >= m_pageCount) return -1;
    const int previous = m_currentPage;
    for (int i = 0; i < m_pageCount; ++i) {
        QWidget* page = m_pages[i];
        if (!page) continue;
        if (i == index) {
            page->show();
            m_currentPage = index;
        } else {
            page->hide();
        }
    }
    return previous;
}

QWidget* CTabWnd::Page(int index) const {
    if (index < 0 || index >= m_pageCount) return nullptr;
    return m_pages[index];
}

int CTabWnd::PageTemplateId(int index) const {
    if (index < 0 || index >= m_pageCount) return 0;
    return m_pageTemplateIds[index];
}

void CTabWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Qt reports the size a hidden host already had once more when it is
    // first shown; that is no resize, and the layout keeps its full height.
    if (!event->oldSize().isValid() && event->size() == m_laidOutSize) return;
    // Pages are one pixel less high than the host after a resize.
    for (int i = 0; i < m_pageCount; ++i) {
        if (QWidget* page = m_pages[i]) {
            page->setGeometry(0, 0, event->size().width(), event->size().height() - 1);
            page->update();
        }
    }
}

}  // namespace sonoria
