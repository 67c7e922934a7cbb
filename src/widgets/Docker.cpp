// Docker: being written.
