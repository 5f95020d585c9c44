// Radio commands of the main frame: read, write, radio information,
// check sum and communication port. Implemented in gui/link/.
#pragma once
