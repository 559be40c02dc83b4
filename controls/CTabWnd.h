// Page host: holds up to twelve embedded pages of equal size and shows exactly
// one of them. Pages are added in order and keep their index for good.
#pragma once

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <array>

namespace sonoria {

class CTabWnd : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int controlId READ controlId WRITE setControlId)

public:
    static constexpr int kMaxPages = 12;

    explicit CTabWnd(QWidget* parent = nullptr);
    ~CTabWnd() override;

    int controlId() const { return m_controlId; }
    void setControlId(int id) { m_controlId = id; }

    // Appends `page` (built from dialog template `dialogId`) as the next
    // slot and makes the host its parent; it stays hidden until laid out or
    // shown. A null page still takes its index, leaving the slot empty. Once
    // twelve slots are used further pages are ignored.
    void AddPage(QWidget* page, int dialogId);

    // Sizes every page to the host and shows page 0, hiding the others. The
    // current page is not changed.
    void LayoutPages();

    // Shows page `index` and hides the others; returns the previous current
    // page, or -1 (nothing changed) when `index` is not below the page count.
    // A negative index hides every page and keeps the current page.
    int ShowPage(int index);

    int PageCount() const { return m_pageCount; }
    int CurrentPage() const { return m_currentPage; }
    // Null for an empty slot or an index out of range.
    QWidget* Page(int index) const;
    // 0 for an index out of range.
    int PageTemplateId(int index) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int m_controlId = 0;
    std::array<int, kMaxPages> m_pageTemplateIds{};
    // Owners may delete their pages; a deleted page leaves its slot empty.
    std::array<QPointer<QWidget>, kMaxPages> m_pages;
    int m_pageCount = 0;
    int m_currentPage = 0;
    // The size LayoutPages last used; see resizeEvent.
    QSize m_laidOutSize;
};

}  // namespace sonoria
