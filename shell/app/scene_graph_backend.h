// The way the browser's view is drawn into the window. Qt WebEngine's view is a Qt Quick item:
// with OpenGL, every flush of the window goes through a composition in OpenGL. Where OpenGL
// itself runs on the processor (Mesa's llvmpipe on a virtual machine, a remote display, Xvfb),
// that composition costs about as much as drawing the whole window again on every change, so
// the software scene graph, which draws into the window's own buffer, is much quicker there.
#pragma once

#include <QString>

namespace kestrova {

// True when `renderer` (OpenGL's GL_RENDERER string) names a rasterizer that runs on the
// processor.
bool IsSoftwareRenderer(const QString& renderer);

// Chooses the software scene graph when OpenGL is not there or runs on the processor; leaves
// Qt's choice alone when QT_QUICK_BACKEND or QSG_RHI_BACKEND says what to use. Call on the main
// thread after the QApplication exists and before the first browser object; later calls do
// nothing. Returns true when the software scene graph is in use.
bool ChooseSceneGraphBackend();

}  // namespace kestrova
