#include "shell_bitmaps.h"

#include <wx/icon.h>
#include <wx/image.h>
#include <wx/mstream.h>

#include "shell_images.h"

namespace {

wxImage DecodePng(EmbeddedFile file)
{
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    wxImage image;
    if (file.data) {
        wxMemoryInputStream stream(file.data, file.size);
        image.LoadFile(stream, wxBITMAP_TYPE_PNG);
    }
    return image;
}

}  // namespace

std::vector<wxBitmap> LoadToolbarBitmaps()
{
    wxImage strip = DecodePng(ToolbarPng());
    if (!strip.IsOk() || strip.GetHeight() != kToolbarImageSize || strip.GetWidth() % kToolbarImageSize != 0)
        return {};
    strip.SetMaskColour(kToolbarMaskColour[0], kToolbarMaskColour[1], kToolbarMaskColour[2]);
    std::vector<wxBitmap> images;
    for (int x = 0; x < strip.GetWidth(); x += kToolbarImageSize)
        images.emplace_back(strip.GetSubImage(wxRect(x, 0, kToolbarImageSize, kToolbarImageSize)));
    return images;
}

wxIconBundle LoadMainIcons()
{
    wxIconBundle icons;
    for (int size : kIconSizes) {
        const wxImage image = DecodePng(IconPng(size));
        if (!image.IsOk())
            continue;
        wxIcon icon;
        icon.CopyFromBitmap(wxBitmap(image));
        icons.AddIcon(icon);
    }
    return icons;
}
