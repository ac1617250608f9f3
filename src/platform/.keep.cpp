// Keeps the host library non-empty while its folder has no other source.
