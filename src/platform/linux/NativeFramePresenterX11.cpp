#include "platform/NativeFramePresenter.h"

#include "platform/FrameMemory.h"

#include <QGuiApplication>
#include <cstdlib>
#include <unistd.h>
#include <vector>
#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace {

// Segments kept attached: the frames of the playing video, a composed picture, and the frames of the video
// before (its memory goes when its last frame has been replaced on screen).
constexpr size_t kSegments = 3;

struct Segment
{
    uint64_t serial;
    xcb_shm_seg_t id;
};

// The window's pixels are 32 bits of (A)RGB in the order this machine stores a 32-bit word, as the frames are.
// Returns the window's depth (24, or 32 with alpha), or 0 when its pixels are another kind.
uint8_t depthTakingFramesAsTheyAre(xcb_connection_t* c, xcb_window_t window)
{
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_get_window_attributes_cookie_t attributesCookie = xcb_get_window_attributes(c, window);
    const xcb_get_geometry_cookie_t geometryCookie = xcb_get_geometry(c, window);
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(c, attributesCookie, nullptr);
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, geometryCookie, nullptr);
    uint8_t fits = 0;
    if (attributes && geometry && (geometry->depth == 24 || geometry->depth == 32)) {
        const uint8_t depth = geometry->depth;
        const uint16_t probe = 1;
        const bool littleEndian = *reinterpret_cast<const unsigned char*>(&probe) == 1;
        const bool order
            = setup->image_byte_order == (littleEndian ? XCB_IMAGE_ORDER_LSB_FIRST : XCB_IMAGE_ORDER_MSB_FIRST);
        bool wordPerPixel = false;
        for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
            wordPerPixel |= f.data->depth == depth && f.data->bits_per_pixel == 32;
        bool rgb = false;
        for (auto s = xcb_setup_roots_iterator(setup); s.rem; xcb_screen_next(&s)) {
            for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem; xcb_depth_next(&d)) {
                for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
                    if (v.data->visual_id == attributes->visual)
                        rgb = v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR && v.data->red_mask == 0xff0000
                            && v.data->green_mask == 0xff00 && v.data->blue_mask == 0xff;
                }
            }
        }
        fits = order && wordPerPixel && rgb ? depth : 0;
    }
    std::free(attributes);
    std::free(geometry);
    return fits;
}

} // namespace

struct NativeFramePresenter::Impl
{
    xcb_connection_t* c = nullptr;
    xcb_window_t window = 0;
    xcb_gcontext_t gc = 0;
    uint8_t depth = 24;
    std::vector<Segment> segments; // most recently used last
    bool refused = false; // the server could not attach our memory
    bool awaiting = false;
    xcb_get_input_focus_cookie_t readMark {};

    ~Impl()
    {
        finishReading();
        for (const Segment& s : segments)
            xcb_shm_detach(c, s.id);
        xcb_free_gc(c, gc);
        xcb_flush(c);
    }

    void finishReading()
    {
        if (!awaiting)
            return;
        awaiting = false;
        // The server answers requests in order: once this one is answered, every earlier put has been read.
        std::free(xcb_get_input_focus_reply(c, readMark, nullptr));
    }

    bool segmentFor(const FrameMemory& memory, xcb_shm_seg_t* id)
    {
        for (size_t i = 0; i < segments.size(); ++i) {
            if (segments[i].serial == memory.serial()) {
                const Segment s = segments[i];
                segments.erase(segments.begin() + long(i));
                segments.push_back(s);
                *id = s.id;
                return true;
            }
        }
        if (refused)
            return false;
        const int handle = memory.shareHandle() >= 0 ? dup(memory.shareHandle()) : -1;
        if (handle < 0)
            return false;
        const xcb_shm_seg_t seg = xcb_generate_id(c);
        // The request takes the handle over and closes it once sent.
        xcb_generic_error_t* error = xcb_request_check(c, xcb_shm_attach_fd_checked(c, seg, handle, 1));
        if (error) {
            std::free(error);
            refused = true;
            return false;
        }
        if (segments.size() >= kSegments) {
            // Puts already sent from it are read before the server takes the detach.
            xcb_shm_detach(c, segments.front().id);
            segments.erase(segments.begin());
        }
        segments.push_back({ memory.serial(), seg });
        *id = seg;
        return true;
    }
};

NativeFramePresenter::NativeFramePresenter(std::unique_ptr<Impl> impl)
    : d(std::move(impl))
{
}

NativeFramePresenter::~NativeFramePresenter() = default;

std::unique_ptr<NativeFramePresenter> NativeFramePresenter::create(unsigned long window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c || window == 0)
        return nullptr;
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(c, &xcb_shm_id);
    if (!shm || !shm->present)
        return nullptr;
    xcb_shm_query_version_reply_t* version = xcb_shm_query_version_reply(c, xcb_shm_query_version(c), nullptr);
    // Handing memory over as a file needs version 1.2.
    const bool fileHandles = version && (version->major_version > 1 || version->minor_version >= 2);
    std::free(version);
    const uint8_t depth = fileHandles ? depthTakingFramesAsTheyAre(c, xcb_window_t(window)) : 0;
    if (depth == 0)
        return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->c = c;
    impl->window = xcb_window_t(window);
    impl->depth = depth;
    impl->gc = xcb_generate_id(c);
    // Opaque black in either depth.
    const uint32_t values[] = { 0xff000000u, 0 /* no exposure events for our puts */ };
    xcb_create_gc(c, impl->gc, impl->window, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
    return std::unique_ptr<NativeFramePresenter>(new NativeFramePresenter(std::move(impl)));
}

bool NativeFramePresenter::put(const FrameMemory& memory, size_t offset, QSize size, int stride, QPoint at)
{
    xcb_shm_seg_t seg = 0;
    if (size.isEmpty() || stride % 4 != 0 || !d->segmentFor(memory, &seg))
        return false;
    xcb_shm_put_image(d->c, d->window, d->gc, uint16_t(stride / 4), uint16_t(size.height()), 0, 0,
        uint16_t(size.width()), uint16_t(size.height()), int16_t(at.x()), int16_t(at.y()), d->depth,
        XCB_IMAGE_FORMAT_Z_PIXMAP, 0, seg, uint32_t(offset));
    // A later mark covers the puts before it too.
    if (d->awaiting)
        xcb_discard_reply(d->c, d->readMark.sequence);
    d->readMark = xcb_get_input_focus(d->c);
    d->awaiting = true;
    xcb_flush(d->c);
    return true;
}

void NativeFramePresenter::fillBlack(const QRect& rect)
{
    if (rect.isEmpty())
        return;
    const xcb_rectangle_t r { int16_t(rect.x()), int16_t(rect.y()), uint16_t(rect.width()), uint16_t(rect.height()) };
    xcb_poly_fill_rectangle(d->c, d->window, d->gc, 1, &r);
}

void NativeFramePresenter::finishReading()
{
    d->finishReading();
}

bool NativeFramePresenter::usable() const
{
    return !d->refused;
}
