// Document model tests.
