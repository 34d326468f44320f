#pragma once
// Ids of the setup wizard's resources (frame, drive, motor, control mode, encoder, comprehensive,
// save/write and DI/O display pages).
