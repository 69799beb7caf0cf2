#include "shell/app/scene_graph_backend.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace kestrova {
namespace {

// The GL_RENDERER string of a fresh context, or an empty string when OpenGL is not usable.
QString OpenGlRenderer() {
    QOpenGLContext context;
    if (!context.create()) return {};
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) return {};
    const auto* name = context.functions()->glGetString(GL_RENDERER);
    QString renderer = name ? QString::fromLatin1(reinterpret_cast<const char*>(name)) : QString();
    context.doneCurrent();
    return renderer;
}

}  // namespace

bool IsSoftwareRenderer(const QString& renderer) {
    if (renderer.isEmpty()) return true;
    for (const char* name :
         {"llvmpipe", "softpipe", "swrast", "Software Rasterizer", "SwiftShader"}) {
        if (renderer.contains(QLatin1String(name), Qt::CaseInsensitive)) return true;
    }
    return false;
}

bool ChooseSceneGraphBackend() {
    static const bool software = [] {
        if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND") ||
            qEnvironmentVariableIsSet("QSG_RHI_BACKEND")) {
            return QQuickWindow::graphicsApi() == QSGRendererInterface::Software;
        }
        if (!IsSoftwareRenderer(OpenGlRenderer())) return false;
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return true;
    }();
    return software;
}

}  // namespace kestrova
