// What the window manager shows as the console's caption, read from the X server: run on a
// virtual X server (ctest's monitor_x11), skipped on any other platform; built where the X
// client library is installed.
#if defined(ORVEX_HAVE_XCB)
#include "monitor/monitor_window.h"
#include "monitor/watch_desk.h"
#include "support/tests/time_scale.h"

#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name),
            nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The window's _NET_WM_NAME, the caption that window managers show.
QString captionOf(const QWidget &window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11->connection();
    const xcb_get_property_cookie_t cookie = xcb_get_property(
        connection, 0, static_cast<xcb_window_t>(window.winId()), atom(connection, "_NET_WM_NAME"),
        atom(connection, "UTF8_STRING"), 0, 1024);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply)
        return QString();
    return QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get()));
}

TEST(AWatchDeskOnX11, GivesTheWindowManagerItsCaptionExactly)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server (ctest's monitor_x11)";
    monitor::WatchDesk::nameApplication();
    monitor::MonitorWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, scaled(std::chrono::seconds(5)).count()));
    EXPECT_EQ(captionOf(window).toStdString(), "FWD Monitor");
}

} // namespace

#endif
