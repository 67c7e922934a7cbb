// MainFrame: being written.
