#pragma once
// The register map window and the save/recall window: their window kinds and the register
// map's continuous-read task of the master timer.

void RegisterRegisterMapWindows();
