// Commands: being written.
