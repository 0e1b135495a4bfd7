// ImageList.h: an owned image list, destroyed with its owner.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CImageList {
public:
    CImageList() : m_hImageList(nullptr) {}
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Loads a bitmap resource of images cx pixels wide, with mask colour.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask)
    {
        DeleteImageList();
        m_hImageList = ImageList_LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), cx, grow,
                                            mask, IMAGE_BITMAP, LR_DEFAULTCOLOR);
        return m_hImageList != nullptr;
    }
    // Loads a bitmap resource of images cx pixels wide as images of size x size, scaled
    // smoothly; the mask colour stays out of the blend and marks the transparent pixels.
    BOOL CreateScaled(UINT bitmapId, int cx, int size, int grow, COLORREF mask);
    void DeleteImageList()
    {
        if (m_hImageList)
            ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
    }
    int GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }
    operator HIMAGELIST() const { return m_hImageList; }

private:
    HIMAGELIST m_hImageList;
};
