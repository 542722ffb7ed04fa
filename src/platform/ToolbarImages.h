#pragma once
// The eight 16 x 16 images of the toolbar: 0 load a file, 1 save a file,
// 2 upload, 3 state, 4 statistic, 5 (unused), 6 measurement, 7 print.

#include <QIcon>
#include <vector>

std::vector<QIcon> MakeToolbarImages();
