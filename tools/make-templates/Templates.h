#pragma once

#include <QSize>
#include <QString>

#include <vector>

namespace zp::tpl {

// Every banner design in every size: Folder/<W>x<H>/<design>.dgm. Throws when a design does not
// fit a size.
void MakeBanners(const QString& Folder, const std::vector<QSize>& Sizes);

// The picture templates: Folder/<group>/<name>.png, transparent around their shapes.
void MakePictures(const QString& Folder);

} // namespace zp::tpl
