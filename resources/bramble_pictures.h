// The editor's pictures compiled into the library, so that the editor still
// has its face when the resources folder beside the plug-in is missing.
#pragma once

// Registers pictures 10000 to 10007 with the toolkit's picture registry.
// Any number of calls from any threads: the work is done once.
void registerBramblePictures();
