// Where our own shared object lives, so the editor can find the pictures
// installed beside it. Editors take a reference while they exist; the path
// stays known after the last one is gone, so any later editor (or one that
// outlives another instance's editor) still finds its resources.
#pragma once

// Called when an editor is constructed / destroyed.
void InitMachOLibrary();
void ExitMachOLibrary();

// Absolute directory of the module that contains this code, or null when it
// has not been located (no editor yet, or the loader could not tell).
const char* junkyardPluginDirectory();

// Editors currently holding the location.
int junkyardPluginDirectoryReferences();
