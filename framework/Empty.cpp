// Keeps every subsystem library non-empty.
