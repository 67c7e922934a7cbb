// SelectPageDlg: being written.
