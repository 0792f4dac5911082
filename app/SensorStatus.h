#pragma once
// The sensor's state as the main menu and the test windows show it, and whether a test may
// start on it. Threads: GUI thread only.

class CStaticEx;

// Shows the state in a status line (static 1038): message 30002 in white when the sensor is
// connected, 40023 in red when it is present but cannot be opened, else 30001 in red. The
// line widens to its text when that is longer than the line (40023 names the fix).
void ShowSensorStatus(CStaticEx* status);

// 0 when a test may start; else the message that says why not: 40023 when the sensor is
// present but cannot be opened, 40004 when it is not connected.
int SensorStartRefusal();
