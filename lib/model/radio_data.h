// The one document of the program: the data image with its model information.
// The desktop program, the command-line tool and the tests each hold one.
#pragma once

#include "model/data_image.h"
#include "model/model_info.h"

namespace vrl {

struct RadioData {
    CDataImage image;
    CModelInfo model{image};

    RadioData() = default;
    RadioData(const RadioData&) = delete;
    RadioData& operator=(const RadioData&) = delete;
};

} // namespace vrl
